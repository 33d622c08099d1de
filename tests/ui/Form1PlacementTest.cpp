// Where the main window appears on a desktop with a window manager: its client area (the area
// below the menu bar) has its top-left corner at 3480, 1575 twips from the screen's corner.
// Runs on X11 (tools/with-desktop); the offscreen platform has no window manager to ask.
#include "Form1TestSupport.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>

class Form1PlacementTest : public Form1TestCase<EmptySpat4Folder> {
    Q_OBJECT
private slots:
    void initTestCase();
    void clientAreaAtItsDesignedPlace();
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

QTEST_MAIN(Form1PlacementTest)
#include "Form1PlacementTest.moc"
