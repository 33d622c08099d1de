// The windows on a desktop with a window manager and a taskbar-like panel, as the X server and
// the window manager see them, at each screen size and scale of the table in Form1Tests.cmake:
// the main window keeps its designed place (the client area, below the menu bar, at 3480, 1575
// twips from the screen's corner) when its whole frame fits in the work area, else it is moved
// just enough, or, taller than the work area, sits at its top and its client area scrolls; every
// control can be scrolled into view on the work area. The About box it opens stays on the work
// area too, and asks for no taskbar entry, a fixed size and no minimise or maximise box.
// Runs on X11 (tools/with-desktop), and under Wine on Qt's windows platform (tests/tools/wine-test)
// where the system's own answers are read; the offscreen platform has no window manager to ask.
#include "Form1TestSupport.h"
#include "Twips.h"
#include "frmAbout.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>

#ifdef _WIN32
#include <windows.h>
#endif

class Form1PlacementTest : public Form1TestCase<EmptySpat4Folder> {
    Q_OBJECT
    static bool onWayland()
    {
        return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    }
    // Wayland tells no program where its windows are, nor lets it place or minimise them.
    void skipOnWayland()
    {
        if (onWayland())
            QSKIP("Wayland tells no program where its windows are");
    }
    void mainWindowFitsWhatWaylandReports();

private slots:
    void initTestCase();
    void mainWindowFitsTheWorkArea();
    void userPlaceKeptAcrossMinimise_data();
    void userPlaceKeptAcrossMinimise();
    void aboutBoxOnTheWorkAreaWithNoTaskbarEntry();
};

void Form1PlacementTest::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") &&
        QGuiApplication::platformName() != QLatin1String("windows") && !onWayland())
        QSKIP("needs an X display with a window manager (tools/with-desktop), Windows, or Wayland");
    installJapaneseUi();
}

namespace {

// Device pixels of slack, two Qt pixels' worth: at 125 and 175 % a box in Qt's pixels rarely
// falls on whole ones, and a window moved to the work area's edges keeps a Qt pixel from each.
int kSlack = 2;

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The X server's own copy of some properties of a window, as xprop prints them.
QString xprop(WId window, const QStringList &properties)
{
    return run(QStringLiteral("xprop"),
               QStringList{QStringLiteral("-notype"), QStringLiteral("-id"),
                           QString::number(window)} +
                   properties);
}

// The atoms of a list property ("NAME = A, B, C"); empty when the window has none.
QStringList atomsOf(const QString &xpropOutput, const QString &property)
{
    const auto line = QRegularExpression(QStringLiteral("^%1 = (.*)$").arg(property),
                                         QRegularExpression::MultilineOption)
                          .match(xpropOutput);
    return line.hasMatch() ? line.captured(1).split(QStringLiteral(", ")) : QStringList{};
}

[[maybe_unused]] QList<int> numbersOf(const QString &xpropOutput, const QString &property)
{
    QList<int> numbers;
    for (const QString &atom : atomsOf(xpropOutput, property))
        numbers << atom.toInt();
    return numbers;
}

// The work area as the window manager keeps it: the screen less the panel's strut (on Windows,
// the taskbar), in device pixels.
QRect workArea()
{
#ifdef _WIN32
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        return {};
    return QRect(QPoint(area.left, area.top), QPoint(area.right - 1, area.bottom - 1));
#else
    const QList<int> area =
        numbersOf(run(QStringLiteral("xprop"), {QStringLiteral("-notype"), QStringLiteral("-root"),
                                                QStringLiteral("_NET_WORKAREA")}),
                  QStringLiteral("_NET_WORKAREA"));
    return area.size() >= 4 ? QRect(area[0], area[1], area[2], area[3]) : QRect();
#endif
}

// Where the window manager put a window's frame, in device pixels: the X server's box of the
// window and the frame's extents around it that the window manager wrote.
struct Framed {
    QRect frame;
    QMargins extents;
    bool operator==(const Framed &) const = default;
};
Framed frameOnScreen(WId window)
{
#ifdef _WIN32
    const auto hwnd = reinterpret_cast<HWND>(window);
    RECT outer{}, inner{};
    POINT corner{0, 0};
    if (!GetWindowRect(hwnd, &outer) || !GetClientRect(hwnd, &inner) || !ClientToScreen(hwnd, &corner))
        return {};
    const QRect frame(QPoint(outer.left, outer.top), QPoint(outer.right - 1, outer.bottom - 1));
    const QRect client(corner.x, corner.y, inner.right, inner.bottom);
    return {frame, QMargins(client.left() - frame.left(), client.top() - frame.top(),
                            frame.right() - client.right(), frame.bottom() - client.bottom())};
#else
    const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"),
                                                          QString::number(window)});
    const auto number = [&info](const char *label) {
        const auto match = QRegularExpression(QStringLiteral("%1:\\s+(-?\\d+)")
                                                  .arg(QLatin1String(label)))
                               .match(info);
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    };
    const QList<int> extents = numbersOf(xprop(window, {QStringLiteral("_NET_FRAME_EXTENTS")}),
                                         QStringLiteral("_NET_FRAME_EXTENTS"));
    if (info.isEmpty() || extents.size() != 4)
        return {};
    const QRect box(number("Absolute upper-left X"), number("Absolute upper-left Y"),
                    number("Width"), number("Height"));
    // _NET_FRAME_EXTENTS: left, right, top, bottom.
    const QMargins margins(extents[0], extents[2], extents[1], extents[3]);
    return {box.marginsAdded(margins), margins};
#endif
}

// The frame once the window manager has framed the window and it rests.
Framed restingFrame(const QWidget *window)
{
    Framed frame;
    if (!QTest::qWaitFor(
            [&] { return (frame = frameOnScreen(window->winId())).frame.isValid(); }, 5000))
        return {};
    for (int settled = 0; settled < 3; QTest::qWait(100)) {
        const Framed now = frameOnScreen(window->winId());
        settled = now == frame ? settled + 1 : 0;
        frame = now;
    }
    return frame;
}

bool closeTo(int a, int b)
{
    return qAbs(a - b) <= kSlack;
}
bool closeTo(const QRect &a, const QRect &b)
{
    return closeTo(a.left(), b.left()) && closeTo(a.top(), b.top()) && closeTo(a.right(), b.right()) &&
           closeTo(a.bottom(), b.bottom());
}
// Whether outer holds inner, but for the slack of a box that does not fall on whole pixels.
bool holds(const QRect &outer, const QRectF &inner)
{
    return inner.left() >= outer.left() - kSlack && inner.top() >= outer.top() - kSlack &&
           inner.right() <= outer.right() + 1 + kSlack &&
           inner.bottom() <= outer.bottom() + 1 + kSlack;
}
QString text(const QRectF &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// A widget's box on the screen in device pixels, as Qt draws it.
QRectF onScreen(const QWidget *widget, double scale)
{
    return {QPointF(widget->mapToGlobal(QPoint(0, 0))) * scale, QSizeF(widget->size()) * scale};
}

// What a user does with the scroll bars to see a control whole.
void scrollIntoView(QScrollArea *scroll, const QWidget *widget)
{
    const QRect box(widget->mapTo(scroll->widget(), QPoint(0, 0)), widget->size());
    const auto bring = [](QScrollBar *bar, int start, int length, int view) {
        if (start < bar->value())
            bar->setValue(start);
        else if (start + length > bar->value() + view)
            bar->setValue(start + length - view);
    };
    bring(scroll->horizontalScrollBar(), box.left(), box.width(), scroll->viewport()->width());
    bring(scroll->verticalScrollBar(), box.top(), box.height(), scroll->viewport()->height());
}

// Minimises the window and restores it as the taskbar does: on Windows by the system commands a
// click on its button sends, on X11 through the window manager (xdotool asks it to iconify the
// window, then to activate it, as a pager does).
bool minimiseAndRestore(QWidget *window)
{
#ifdef _WIN32
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    if (!QTest::qWaitFor([&] { return IsIconic(hwnd) && window->isMinimized(); }, 5000))
        return false;
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
#else
    const QString id = QString::number(window->winId());
    const auto xdotool = [&id](const char *command) {
        return QProcess::execute(QStringLiteral("xdotool"),
                                 {QLatin1String(command), QStringLiteral("--sync"), id}) == 0;
    };
    if (!xdotool("windowminimize") ||
        !QTest::qWaitFor([window] { return window->isMinimized(); }, 5000) ||
        !xdotool("windowactivate"))
        return false;
#endif
    return QTest::qWaitFor([window] { return !window->isMinimized() && window->isVisible(); },
                           5000) &&
           QTest::qWaitForWindowExposed(window);
}

} // namespace

void Form1PlacementTest::mainWindowFitsTheWorkArea()
{
    if (onWayland())
        return mainWindowFitsWhatWaylandReports();
    makeWindow();
    Form1 &form = *m_form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const auto [frame, extents] = restingFrame(&form);
    const QRect work = workArea();
    QVERIFY(frame.isValid() && work.isValid());

    // The designed frame in device pixels: the client area at its place and size, the menu bar
    // above it, the window manager's frame around both.
    const double scale = form.devicePixelRatioF();
    kSlack = qCeil(2 * scale);
    const QRect client = twipsRect(3480, 1575, 8625, 9255);
    const int menu = form.menuBar()->height();
    const QRect designed =
        QRect(QPoint(qRound(client.left() * scale), qRound((client.top() - menu) * scale)),
              QSize(qRound(client.width() * scale), qRound((client.height() + menu) * scale)))
            .marginsAdded(extents);
    qInfo("scale %g, work area %s: designed frame %s, placed at %s", scale, qPrintable(text(work)),
          qPrintable(text(designed)), qPrintable(text(frame)));

    QVERIFY2(work.contains(frame), "the frame reaches beyond the work area");
    auto *scroll = form.findChild<QScrollArea *>(QStringLiteral("ClientArea.Scroll"));
    QVERIFY(scroll);
    const bool scrolls = scroll->verticalScrollBar()->isVisible() ||
                         scroll->horizontalScrollBar()->isVisible();
    if (designed.height() > work.height()) {
        // Too tall: at the top of the work area, as tall as it, the client area scrolling; as
        // wide as the design at least, moved left only as far as the work area needs.
        // (Short of it by a Qt pixel at each edge at most, and the rounding of each.)
        QVERIFY(closeTo(frame.top(), work.top()));
        QVERIFY(frame.height() >= work.height() - qCeil(3 * scale));
        QVERIFY(scroll->verticalScrollBar()->isVisible());
        QVERIFY(frame.width() >= designed.width() - kSlack);
        QVERIFY(closeTo(frame.left(), std::min(designed.left(), work.right() + 1 - frame.width())));
    } else {
        // Where it was designed, or moved up and left just enough; nothing scrolls.
        QRect expected = designed;
        expected.moveTop(std::min(designed.top(), work.bottom() + 1 - designed.height()));
        expected.moveLeft(std::min(designed.left(), work.right() + 1 - designed.width()));
        QVERIFY2(closeTo(frame, expected), qPrintable(text(expected)));
        QVERIFY(!scrolls);
    }

    // Every control can be scrolled into view, whole, on the work area; so can the menu bar.
    QVERIFY(holds(work, onScreen(form.menuBar(), scale)));
    const QWidget *area = form.findChild<QWidget *>(QStringLiteral("ClientArea"));
    int reached = 0;
    for (const QWidget *control : area->findChildren<QWidget *>()) {
        // The lines are drawn along the area's edges, partly outside it.
        if (control->objectName().isEmpty() || control->objectName().startsWith("qt_") ||
            control->objectName().startsWith("Line") || !control->isVisibleTo(area))
            continue;
        scrollIntoView(scroll, control);
        const QRectF box = onScreen(control, scale);
        QVERIFY2(holds(work, box) && holds(onScreen(scroll->viewport(), scale).toRect(), box),
                 qPrintable(control->objectName() + QStringLiteral(" at ") + text(box)));
        ++reached;
    }
    QVERIFY(reached > 100);
    dropWindow();
}

// On Wayland the compositor places the window, and the screen's available area is all of it:
// the frame, decorations included, fits that area, cut short and scrolling where the screen is
// too low for the design.
void Form1PlacementTest::mainWindowFitsWhatWaylandReports()
{
    makeWindow();
    Form1 &form = *m_form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect available = form.screen()->availableGeometry();
    const QSize frame = form.frameGeometry().size();
    const int designedHeight =
        twipsRect(0, 0, 8625, 9255).height() + form.menuBar()->height() +
        (form.frameGeometry().height() - form.geometry().height());
    qInfo("available %s, frame %dx%d, designed height %d", qPrintable(text(available)),
          frame.width(), frame.height(), designedHeight);
    QVERIFY(frame.width() <= available.width() && frame.height() <= available.height());
    auto *scroll = form.findChild<QScrollArea *>(QStringLiteral("ClientArea.Scroll"));
    QCOMPARE(scroll->verticalScrollBar()->isVisible(), designedHeight > available.height());
    dropWindow();
}

// Once shown, the window stays where the user and the system put it: moved partly off the work
// area and made smaller, or maximised, it comes back from the taskbar as it was.
void Form1PlacementTest::userPlaceKeptAcrossMinimise_data()
{
    QTest::addColumn<bool>("maximised");
    QTest::newRow("moved partly off the work area and made smaller") << false;
    QTest::newRow("maximised") << true;
}

void Form1PlacementTest::userPlaceKeptAcrossMinimise()
{
    skipOnWayland();
    QFETCH(bool, maximised);
    makeWindow();
    Form1 &form = *m_form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(restingFrame(&form).frame.isValid());
    const QRect work = workArea();
    const double scale = form.devicePixelRatioF();
    kSlack = qCeil(2 * scale);
    if (maximised) {
        form.showMaximized();
        QVERIFY(QTest::qWaitFor([&] { return form.isMaximized(); }, 5000));
    } else {
        // A quarter of it past the work area's right edge, 100 pixels narrower and shorter.
        const QRect was = form.geometry();
        const int left = qRound((work.right() + 1) / scale) - was.width() * 3 / 4;
        form.setGeometry(QRect(QPoint(left, was.top()), was.size() - QSize(100, 100)));
    }
    const Framed placed = restingFrame(&form);
    qInfo("before minimising: %s", qPrintable(text(placed.frame)));
    // Maximised, the frame covers the work area (on Windows its borders reach past its edges).
    if (maximised)
        QVERIFY2(placed.frame.left() <= work.left() + kSlack &&
                     placed.frame.top() <= work.top() + kSlack &&
                     placed.frame.right() >= work.right() - kSlack &&
                     placed.frame.bottom() >= work.bottom() - kSlack,
                 qPrintable(text(placed.frame)));
    else
        QVERIFY2(placed.frame.right() > work.right(), "the window was not moved off the work area");

    QVERIFY(minimiseAndRestore(&form));
    const Framed restored = restingFrame(&form);
    qInfo("restored: %s", qPrintable(text(restored.frame)));
    QVERIFY2(closeTo(restored.frame, placed.frame), qPrintable(text(placed.frame)));
    QCOMPARE(form.isMaximized(), maximised);
    dropWindow();
}

// VER opens the About box owned by the main window. Where it is, and on X11 what it asks of the
// window manager and what the window manager then allows it (openbox keeps
// _NET_WM_ALLOWED_ACTIONS for each window it manages), are read back from the system.
void Form1PlacementTest::aboutBoxOnTheWorkAreaWithNoTaskbarEntry()
{
    skipOnWayland();
    makeWindow();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    const double scale = m_form->devicePixelRatioF();
    kSlack = qCeil(2 * scale);

    const QStringList asked = {QStringLiteral("_NET_WM_STATE"),
                               QStringLiteral("_NET_WM_WINDOW_TYPE"),
                               QStringLiteral("_MOTIF_WM_HINTS"), QStringLiteral("WM_NORMAL_HINTS"),
                               QStringLiteral("WM_TRANSIENT_FOR")};
    QString properties;
    Framed placed;
    bool opened = false;
    QTimer::singleShot(0, m_form.get(), [&] {
        auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
        if (!about)
            return;
        // Managed once the window manager has written the actions it allows.
        opened = QTest::qWaitForWindowExposed(about) &&
                 (!x11 || QTest::qWaitFor([about] {
                      return !atomsOf(xprop(about->winId(), {"_NET_WM_ALLOWED_ACTIONS"}),
                                      QStringLiteral("_NET_WM_ALLOWED_ACTIONS"))
                                  .isEmpty();
                  }));
        if (x11)
            properties = xprop(about->winId(), asked + QStringList{"_NET_WM_ALLOWED_ACTIONS"});
        placed = restingFrame(about);
        about->reject();
    });
    m_form->VER()->trigger();
    QVERIFY(opened);

    // On the work area: at its designed place when it fits there, else moved up and left just
    // enough.
    const QRect designed = twipsRect(2340, 1935, 5730, 4050);
    const QRect work = workArea();
    const QRect designedFrame =
        QRect(QPoint(qRound(designed.left() * scale), qRound(designed.top() * scale)),
              QSize(qRound(designed.width() * scale), qRound(designed.height() * scale)))
            .marginsAdded(placed.extents);
    QRect expected = designedFrame;
    expected.moveTop(std::min(designedFrame.top(), work.bottom() + 1 - designedFrame.height()));
    expected.moveLeft(std::min(designedFrame.left(), work.right() + 1 - designedFrame.width()));
    qInfo("About box: designed frame %s, placed at %s", qPrintable(text(designedFrame)),
          qPrintable(text(placed.frame)));
    QVERIFY(work.contains(placed.frame));
    QVERIFY2(closeTo(placed.frame, expected), qPrintable(text(expected)));
    if (!x11)
        return dropWindow();
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
    for (const char *bound : {"minimum", "maximum"}) {
        const auto size =
            QRegularExpression(QStringLiteral("program specified %1 size: (\\d+) by (\\d+)")
                                   .arg(QLatin1String(bound)))
                .match(properties);
        QVERIFY2(closeTo(size.captured(1).toInt(), qRound(designed.width() * scale)) &&
                     closeTo(size.captured(2).toInt(), qRound(designed.height() * scale)),
                 qPrintable(size.captured(0)));
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
