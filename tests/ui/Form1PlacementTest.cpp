// The windows on a desktop with a window manager, as the X server and the window manager see
// them: the main window's client area (the area below the menu bar) has its top-left corner at
// 3480, 1575 twips from the screen's corner; the About box it opens asks for no taskbar entry,
// a fixed size and no minimise or maximise box.
// Runs on X11 (tools/with-desktop); the offscreen platform has no window manager to ask.
#include "Form1TestSupport.h"
#include "Twips.h"
#include "frmAbout.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>

class Form1PlacementTest : public Form1TestCase<EmptySpat4Folder> {
    Q_OBJECT
private slots:
    void initTestCase();
    void clientAreaAtItsDesignedPlace();
    void aboutBoxAsksForNoTaskbarEntry();
};

void Form1PlacementTest::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display with a window manager (tools/with-desktop)");
    installJapaneseUi();
}

namespace {

// The X server's own answer for where a window's top-left corner is on the screen.
QPoint absoluteCorner(WId window)
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    if (!xwininfo.waitForFinished(10000) || xwininfo.exitCode() != 0)
        return {-1, -1};
    const QString out = QString::fromLocal8Bit(xwininfo.readAllStandardOutput());
    const auto x =
        QRegularExpression(QStringLiteral("Absolute upper-left X:\\s+(-?\\d+)")).match(out);
    const auto y =
        QRegularExpression(QStringLiteral("Absolute upper-left Y:\\s+(-?\\d+)")).match(out);
    return {x.captured(1).toInt(), y.captured(1).toInt()};
}

// The X server's own copy of some properties of a window, as xprop prints them.
QString xprop(WId window, const QStringList &properties)
{
    QProcess xprop;
    xprop.start(
        QStringLiteral("xprop"),
        QStringList{QStringLiteral("-notype"), QStringLiteral("-id"), QString::number(window)} +
            properties);
    if (!xprop.waitForFinished(10000) || xprop.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(xprop.readAllStandardOutput());
}

// The atoms of a list property ("NAME = A, B, C"); empty when the window has none.
QStringList atomsOf(const QString &xpropOutput, const QString &property)
{
    const auto line = QRegularExpression(QStringLiteral("^%1 = (.*)$").arg(property),
                                         QRegularExpression::MultilineOption)
                          .match(xpropOutput);
    return line.hasMatch() ? line.captured(1).split(QStringLiteral(", ")) : QStringList{};
}

} // namespace

void Form1PlacementTest::clientAreaAtItsDesignedPlace()
{
    makeWindow();
    Form1 &form = *m_form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The window manager frames the window and may move it once more; wait until it rests.
    QPoint corner;
    QTRY_VERIFY_WITH_TIMEOUT((corner = absoluteCorner(form.winId())) != QPoint(-1, -1), 5000);
    QTest::qWait(300);
    corner = absoluteCorner(form.winId());

    const QWidget *client = form.centralWidget();
    const QPoint clientOnScreen = corner + client->mapTo(&form, QPoint(0, 0));
    QCOMPARE(clientOnScreen, QPoint(232, 105));
    // Qt's own idea agrees with the X server's.
    QCOMPARE(client->mapToGlobal(QPoint(0, 0)), QPoint(232, 105));
    // The menu bar sits above the client area, inside the window.
    QVERIFY(form.menuBar()->geometry().bottom() < client->geometry().top());
    // And the window is framed: the window manager's frame lies outside the client area.
    QVERIFY(form.frameGeometry().top() < form.geometry().top());
    dropWindow();
}

// VER opens the About box owned by the main window. What it asks of the window manager is read
// back from the X server, and what the window manager then allows it (openbox keeps
// _NET_WM_ALLOWED_ACTIONS for each window it manages).
void Form1PlacementTest::aboutBoxAsksForNoTaskbarEntry()
{
    makeWindow();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));

    const QStringList asked = {QStringLiteral("_NET_WM_STATE"),
                               QStringLiteral("_NET_WM_WINDOW_TYPE"),
                               QStringLiteral("_MOTIF_WM_HINTS"), QStringLiteral("WM_NORMAL_HINTS"),
                               QStringLiteral("WM_TRANSIENT_FOR")};
    QString properties;
    bool opened = false;
    QTimer::singleShot(0, m_form.get(), [&] {
        auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
        if (!about)
            return;
        // Managed once the window manager has written the actions it allows.
        opened = QTest::qWaitForWindowExposed(about) && QTest::qWaitFor([about] {
                     return !atomsOf(xprop(about->winId(), {"_NET_WM_ALLOWED_ACTIONS"}),
                                     QStringLiteral("_NET_WM_ALLOWED_ACTIONS"))
                                 .isEmpty();
                 });
        properties = xprop(about->winId(), asked + QStringList{"_NET_WM_ALLOWED_ACTIONS"});
        about->reject();
    });
    m_form->VER()->trigger();
    QVERIFY(opened);
    qInfo("%s", qPrintable(properties));

    // Not in the taskbar, and a dialog of the main window.
    QVERIFY(atomsOf(properties, QStringLiteral("_NET_WM_STATE"))
                .contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")));
    QCOMPARE(atomsOf(properties, QStringLiteral("_NET_WM_WINDOW_TYPE")).value(0),
             QStringLiteral("_NET_WM_WINDOW_TYPE_DIALOG"));
    const auto owner =
        QRegularExpression(QStringLiteral("WM_TRANSIENT_FOR: window id # (0x[0-9a-f]+)"))
            .match(properties);
    QCOMPARE(owner.captured(1), QStringLiteral("0x%1").arg(m_form->winId(), 0, 16));

    // A fixed size: the smallest and the largest size are both the designed client area.
    const QSize designed = twipsSize(5730, 4050);
    for (const char *bound : {"minimum", "maximum"}) {
        const auto size =
            QRegularExpression(QStringLiteral("program specified %1 size: (\\d+) by (\\d+)")
                                   .arg(QLatin1String(bound)))
                .match(properties);
        QCOMPARE(QSize(size.captured(1).toInt(), size.captured(2).toInt()), designed);
    }

    // Motif hints: a close function, and neither a minimise nor a maximise function or box.
    const QStringList motif = atomsOf(properties, QStringLiteral("_MOTIF_WM_HINTS"));
    QVERIFY2(motif.size() >= 3, qPrintable(motif.join(',')));
    const uint flags = motif[0].toUInt(nullptr, 16), functions = motif[1].toUInt(nullptr, 16),
               decorations = motif[2].toUInt(nullptr, 16);
    enum : uint { FunctionsGiven = 0x1, DecorationsGiven = 0x2 };
    enum : uint { FuncAll = 0x1, FuncMinimize = 0x8, FuncMaximize = 0x10, FuncClose = 0x20 };
    enum : uint { DecorAll = 0x1, DecorMinimize = 0x20, DecorMaximize = 0x40 };
    QCOMPARE(flags & (FunctionsGiven | DecorationsGiven), uint(FunctionsGiven | DecorationsGiven));
    QCOMPARE(functions & (FuncAll | FuncMinimize | FuncMaximize | FuncClose), uint(FuncClose));
    QCOMPARE(decorations & (DecorAll | DecorMinimize | DecorMaximize), 0u);

    // And the window manager took it so: no resizing and no maximising. (Openbox lets the
    // keyboard minimise any window, whatever it asks, so its minimise action says nothing.)
    const QStringList allowed = atomsOf(properties, QStringLiteral("_NET_WM_ALLOWED_ACTIONS"));
    QVERIFY(allowed.contains(QStringLiteral("_NET_WM_ACTION_CLOSE")));
    for (const char *action :
         {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE"})
        QVERIFY2(!allowed.contains(QLatin1String(action)), action);
    dropWindow();
}

QTEST_MAIN(Form1PlacementTest)
#include "Form1PlacementTest.moc"
