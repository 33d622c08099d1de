// The main window under load: the forecast click against its own progress phase, and a soak of
// forecasts and odds loads watching the resident memory. Prints "name value unit" lines.
//
//   form1_bench click [repetitions]
//   form1_bench soak [forecasts] [loads]

// The engine before any Qt header: its ForecastResult has a member named "slots".
#include "Forecast.h"

#include "AvailabilityScan.h"
#include "BenchFolders.h"
#include "FolderPlaces.h"
#include "Form1.h"
#include "JapaneseUi.h"
#include "Module1.h"
#include "ProcStatus.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Two different 16-runner cards, so every run writes captions that differ from the last ones.
void fillGrid(Form1 &window, int variant)
{
    for (int horse = 1; horse <= Form1::kRows; ++horse) {
        const int shift = variant * 5;
        window.Text(1, horse)->setText(QString::number((horse * 7 + shift) % 16 + 1));
        window.Text(2, horse)->setText(horse % 5 == 0 ? QString()
                                                      : QString::number((horse + shift) % 9 + 1));
        window.Text(3, horse)->setText(QString::number((horse * 3 + shift) % 12 + 1));
    }
}

void fillOdds(Form1 &window, int variant)
{
    for (int horse = 1; horse <= Form1::kRows; ++horse) {
        const int step = (horse * (variant ? 11 : 3)) % 16;
        window.Text(4, horse)->setText(QString::number(1.0 + step * 0.4, 'g', 3));
        window.Text(5, horse)->setText(QString::number(1.5 + step * 0.7, 'g', 3));
    }
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The forecast click to its last caption, and the progress phase alone on the same bar, taken
// in turn (their order alternating) so both see the same machine.
int runClicks(Form1 &window, int repetitions)
{
    window.selectRunnerCount(16);
    fillOdds(window, 0);
    QProgressBar *bar = window.ProgressBar1();
    std::vector<double> click, progress, beyond;
    for (int rep = -3; rep < repetitions; ++rep) { // three unrecorded warm-up rounds
        fillGrid(window, rep & 1);
        settle();
        double clickMs = 0, progressMs = 0;
        for (int half = 0; half < 2; ++half) {
            if ((half == 0) == ((rep & 1) == 0)) {
                const auto start = Clock::now();
                window.Command1_Click();
                clickMs = msSince(start);
            } else {
                const auto start = Clock::now();
                for (int value = 1; value <= Form1::kProgressSteps; ++value)
                    bar->setValue(value);
                progressMs = msSince(start);
                bar->setValue(0);
            }
            settle();
        }
        if (window.Label(11)->text().isEmpty()) {
            std::fprintf(stderr, "the forecast wrote no result\n");
            return 1;
        }
        if (rep >= 0) {
            click.push_back(clickMs);
            progress.push_back(progressMs);
            beyond.push_back(clickMs - progressMs);
        }
    }
    std::printf("click.median %.4f ms\n", median(click));
    std::printf("progress.median %.4f ms\n", median(progress));
    std::printf("beyond.paired_median %.4f ms\n", median(beyond));
    std::printf("click.repetitions %d n\n", repetitions);
    return 0;
}

// Answers the confirmation of LOADHO with OK as soon as the box runs its event loop.
void answerNextBoxWithOk()
{
    QTimer::singleShot(0, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            answerNextBoxWithOk();
            return;
        }
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
    });
}

bool loadRace(Form1 &window, int race)
{
    window.Option(race)->setChecked(true);
    answerNextBoxWithOk();
    window.LOADHO_Click();
    return window.Label(18)->text() == QStringLiteral("第%1レース").arg(race);
}

// Forecasts with a load before every tenth, through the window's own handlers and the real
// confirmation box; the resident memory after a warm-up and at the end.
int runSoak(Form1 &window, Module1 &state, const spat4::Spat4Folder &folder, int forecasts,
            int loads)
{
    spat4::scanAvailability(folder, state.availability);
    window.applyVenueAvailability(state.availability);
    window.Option(23)->setChecked(true);
    window.Option23_Click();

    const int loadEvery = std::max(1, forecasts / std::max(1, loads));
    auto round = [&](int forecastCount, int loadCount) {
        int loaded = 0;
        for (int i = 0; i < forecastCount; ++i) {
            if (loaded < loadCount && i % loadEvery == 0) {
                if (!loadRace(window, 1 + (loaded & 1)))
                    return false;
                ++loaded;
            }
            fillGrid(window, i & 1);
            window.Command1_Click();
            settle();
        }
        return loaded == loadCount;
    };

    if (!round(forecasts / 20, loads / 20)) {
        std::fprintf(stderr, "a load did not reach the window\n");
        return 1;
    }
    const long warmRss = bench::procStatusKb("VmRSS");
    const auto start = Clock::now();
    if (!round(forecasts, loads)) {
        std::fprintf(stderr, "a load did not reach the window\n");
        return 1;
    }
    const double seconds = msSince(start) / 1000;
    const long endRss = bench::procStatusKb("VmRSS");
    std::printf("soak.forecasts %d n\n", forecasts);
    std::printf("soak.loads %d n\n", loads);
    std::printf("soak.rss_after_warmup %ld kB\n", warmRss);
    std::printf("soak.rss_end %ld kB\n", endRss);
    std::printf("soak.rss_growth %ld kB\n", endRss - warmRss);
    std::printf("soak.seconds %.1f s\n", seconds);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installJapaneseFonts();
    installJapaneseTranslation(app);

    const std::string mode = argc > 1 ? argv[1] : "click";
    Module1 state;
    const bench::UnpausedSpat4Folder folder(bench::loadFolderRoot());
    Form1 window(state, folder);
    window.initialiseInputs();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "the window was not exposed; measuring anyway\n");
    settle();
    std::printf("platform %s -\n", qPrintable(QGuiApplication::platformName()));

    if (mode == "click")
        return runClicks(window, argc > 2 ? std::atoi(argv[2]) : 31);
    if (mode == "soak")
        return runSoak(window, state, folder, argc > 2 ? std::atoi(argv[2]) : 10000,
                       argc > 3 ? std::atoi(argv[3]) : 1000);
    std::fprintf(stderr, "usage: form1_bench click [repetitions] | soak [forecasts] [loads]\n");
    return 2;
}
