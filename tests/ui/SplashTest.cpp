#include "Twips.h"
#include "Version.h"
#include "VersionCaption.h"
#include "frmSplash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <chrono>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// A clock that gives the listed readings, one per call, and counts the calls. Past the list it
// reads an hour later, so a hold that ignores the readings still ends.
struct ScriptedClock {
    std::vector<std::chrono::nanoseconds> readings;
    std::function<void(int)> onReading; // called with the index of each reading
    int calls = 0;

    std::chrono::nanoseconds operator()()
    {
        const int index = calls++;
        if (onReading)
            onReading(index);
        if (index < static_cast<int>(readings.size()))
            return readings[static_cast<std::size_t>(index)];
        return readings.back() + 1h;
    }
};

// Readings that end any hold at once: the second is past two seconds.
std::vector<std::chrono::nanoseconds> instantHold()
{
    return {0ns, 2s + 1ns};
}

} // namespace

class SplashTest : public QObject {
    Q_OBJECT

private slots:
    void versionCaption_data();
    void versionCaption();
    void window();
    void layout_data();
    void layout();
    void holdEndsOnlyPastTwoSeconds_data();
    void holdEndsOnlyPastTwoSeconds();
    void closesOn_data();
    void closesOn();
    void showAndHoldShowsThenDestroys();
    void measuredHold();
};

void SplashTest::versionCaption_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1.0.3") << 1 << 0 << 3 << u"ﾊﾞｰｼﾞｮﾝ 1.0.3"_s;
    QTest::newRow("two digits") << 12 << 10 << 99 << u"ﾊﾞｰｼﾞｮﾝ 12.10.99"_s;
    QTest::newRow("no leading zeros") << 2 << 5 << 0 << u"ﾊﾞｰｼﾞｮﾝ 2.5.0"_s;
}

void SplashTest::versionCaption()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, expected);
    QCOMPARE(::versionCaption(major, minor, revision), expected);
}

void SplashTest::window()
{
    frmSplash splash;
    QCOMPARE(splash.windowTitle(), u"トモロのミルカ！！！(地方版)"_s);
    QCOMPARE(splash.size(), twipsSize(7380, 4245));
    QCOMPARE(splash.minimumSize(), splash.maximumSize());
    const QRect window = splash.geometry();
    const QRect screen = splash.screen()->geometry();
    QVERIFY(qAbs((window.left() - screen.left()) - (screen.right() - window.right())) <= 1);
    QVERIFY(qAbs((window.top() - screen.top()) - (screen.bottom() - window.bottom())) <= 1);
    const Qt::WindowFlags flags = splash.windowFlags();
    QCOMPARE(splash.windowType(), Qt::Tool);
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));

    const auto *version = splash.findChild<QLabel *>(QStringLiteral("lblVersion"));
    QCOMPARE(version->text(), u"ﾊﾞｰｼﾞｮﾝ "_s + QLatin1String(milka::kVersionText));
    // Autosized: the whole text fits, and it ends where the layout's box ends, inside the frame.
    QCOMPARE(version->y(), twips(2700));
    QCOMPARE(version->geometry().right() + 1, twips(5970 + 885));
    QVERIFY(version->width() >= version->fontMetrics().horizontalAdvance(version->text()));

    const auto *frame = splash.findChild<QFrame *>(QStringLiteral("Frame1"));
    QCOMPARE(frame->geometry(), twipsRect(150, 60, 7080, 4050));
    QVERIFY(frame->frameShape() != QFrame::NoFrame);
}

void SplashTest::layout_data()
{
    QTest::addColumn<QRect>("twipsGeometry"); // width 0: autosizing, only the corner is fixed
    QTest::addColumn<bool>("namesMaker");     // the maker "トモロ"

    // clang-format off
    QTest::newRow("imgLogo")           << QRect(360, 1320, 1575, 1665) << false;
    QTest::newRow("lblCompanyProduct") << QRect(360, 705, 0, 0)        << true;
    QTest::newRow("lblProductName")    << QRect(2040, 1560, 4755, 795) << true;
    QTest::newRow("lblCopyright")      << QRect(4320, 3060, 2415, 255) << true;
    QTest::newRow("lblCompany")        << QRect(4320, 3315, 2655, 255) << true;
    // clang-format on
}

void SplashTest::layout()
{
    QFETCH(QRect, twipsGeometry);
    QFETCH(bool, namesMaker);

    frmSplash splash;
    const auto *label = splash.findChild<QLabel *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(label);
    QCOMPARE(label->parentWidget()->objectName(), QStringLiteral("Frame1"));
    QCOMPARE(label->pos(), twipsPoint(twipsGeometry.x(), twipsGeometry.y()));
    if (twipsGeometry.width() > 0)
        QCOMPARE(label->size(), twipsSize(twipsGeometry.width(), twipsGeometry.height()));
    else
        QCOMPARE(label->size(), label->sizeHint());
    QCOMPARE(label->text().contains(u"トモロ"_s), namesMaker);
}

void SplashTest::holdEndsOnlyPastTwoSeconds_data()
{
    QTest::addColumn<QList<qint64>>("readingsNs");
    QTest::addColumn<bool>("inputDuringHold");
    QTest::addColumn<int>("expectedReadings");

    const qint64 s = 1'000'000'000;
    // clang-format off
    QTest::newRow("exactly 2 s is not enough") << QList<qint64>{0, s, 2 * s, 2 * s, 2 * s + 1} << false << 5;
    QTest::newRow("just past 2 s")             << QList<qint64>{0, 2 * s + 1}                  << false << 2;
    QTest::newRow("only differences count")    << QList<qint64>{86399 * s, 86400 * s, 86401 * s, 86401 * s + 1} << false << 4;
    QTest::newRow("key and click meanwhile")   << QList<qint64>{0, s / 2, s, 3 * s / 2, 2 * s, 2 * s + 1} << true << 6;
    // clang-format on
}

void SplashTest::holdEndsOnlyPastTwoSeconds()
{
    QFETCH(QList<qint64>, readingsNs);
    QFETCH(bool, inputDuringHold);
    QFETCH(int, expectedReadings);

    frmSplash splash;
    splash.showAndDraw();
    auto *frame = splash.findChild<QFrame *>(QStringLiteral("Frame1"));
    ScriptedClock clock;
    for (qint64 ns : readingsNs)
        clock.readings.push_back(std::chrono::nanoseconds(ns));
    if (inputDuringHold) {
        // Input reaching the handlers half-way through must neither end the hold nor start a
        // second one.
        clock.onReading = [&](int index) {
            if (index == 2) {
                QTest::keyClick(&splash, Qt::Key_A);
                QTest::mouseClick(frame, Qt::LeftButton, {}, frame->rect().center());
            }
        };
    }
    splash.setClock([&clock] { return clock(); });

    splash.close();
    QCOMPARE(clock.calls, expectedReadings);
    QVERIFY(!splash.isVisible());
}

void SplashTest::closesOn_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key"); // 0: a click
    QTest::addColumn<bool>("closes");

    // clang-format off
    QTest::newRow("letter")              << "frmSplash"      << int(Qt::Key_A)      << true;
    QTest::newRow("Enter")               << "frmSplash"      << int(Qt::Key_Return) << true;
    QTest::newRow("Esc")                 << "frmSplash"      << int(Qt::Key_Escape) << true;
    QTest::newRow("key to a child")      << "lblProductName" << int(Qt::Key_Space)  << true;
    QTest::newRow("Shift alone")         << "frmSplash"      << int(Qt::Key_Shift)  << false;
    QTest::newRow("click on the frame")  << "Frame1"         << 0 << true;
    QTest::newRow("click on a label")    << "lblProductName" << 0 << false;
    QTest::newRow("click on the image")  << "imgLogo"        << 0 << false;
    // clang-format on
}

void SplashTest::closesOn()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(bool, closes);

    frmSplash splash;
    ScriptedClock clock;
    clock.readings = instantHold();
    splash.setClock([&clock] { return clock(); });
    splash.showAndDraw();
    QWidget *widget = target == splash.objectName() ? &splash : splash.findChild<QWidget *>(target);
    QVERIFY(widget);
    if (key)
        QTest::keyClick(widget, Qt::Key(key));
    else
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());

    QCOMPARE(!splash.isVisible(), closes);
    QCOMPARE(clock.calls, closes ? 2 : 0); // the hold ran once, or not at all
}

void SplashTest::showAndHoldShowsThenDestroys()
{
    const auto findSplash = [] {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *splash = qobject_cast<frmSplash *>(widget))
                return splash;
        return static_cast<frmSplash *>(nullptr);
    };
    bool shownDuringHold = false;
    bool exposedDuringHold = false;
    ScriptedClock clock;
    clock.readings = instantHold();
    clock.onReading = [&](int index) {
        if (index != 0)
            return;
        const frmSplash *splash = findSplash();
        shownDuringHold = splash && splash->isVisible();
        exposedDuringHold = splash && splash->windowHandle()->isExposed();
    };

    frmSplash::showAndHold([&clock] { return clock(); });

    QVERIFY(shownDuringHold);
    QVERIFY(exposedDuringHold);
    QCOMPARE(clock.calls, 2);
    QVERIFY(!findSplash());
}

void SplashTest::measuredHold()
{
    frmSplash splash;
    splash.showAndDraw();
    QElapsedTimer timer;
    timer.start();
    splash.close();
    const qint64 elapsedNs = timer.nsecsElapsed();
    const QByteArray took = QByteArray::number(elapsedNs / 1e6, 'f', 3) + " ms";
    qInfo("hold took %s", took.constData());
    QVERIFY2(elapsedNs > 2'000'000'000, took.constData());
    QVERIFY2(elapsedNs < 3'000'000'000, took.constData());
}

QTEST_MAIN(SplashTest)
#include "SplashTest.moc"
