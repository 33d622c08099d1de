#include "Startup.h"
#include "Form1.h"
#include "JapaneseUi.h"
#include "Module1.h"
#include "Spat4Folder.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <chrono>

namespace {

// A folder whose listing holds the given names (the scan reads names only).
class NamesFolder : public spat4::Spat4Folder {
public:
    explicit NamesFolder(std::vector<std::string> names) : m_names(std::move(names)) {}
    std::vector<spat4::FolderEntry> list() const override
    {
        std::vector<spat4::FolderEntry> entries;
        for (const auto &name : m_names)
            entries.push_back({name, "/nowhere/" + name});
        return entries;
    }

private:
    std::vector<std::string> m_names;
};

// A clock that moves on a second at every reading, so the splash's hold is over at once.
frmSplash::Clock fastClock()
{
    auto now = std::make_shared<std::chrono::nanoseconds>(0);
    return [now] { return *now += std::chrono::seconds(1); };
}

enum class Answer { DataPresent, NoData, CloseBox, Cancel };

// Answers the data-check dialog as soon as it is shown, as the user would.
void answerDataCheck(Answer answer)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != QLatin1String("Form3"))
            return;
        timer->deleteLater();
        timer->stop();
        const char *button = answer == Answer::DataPresent ? "Command1"
                             : answer == Answer::NoData    ? "Command2"
                                                           : "Command3";
        if (answer == Answer::CloseBox)
            dialog->close();
        else
            dialog->findChild<QPushButton *>(QLatin1String(button))->click();
    });
    timer->start();
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installJapaneseFonts(); }

    void eachAnswerLeavesTheWindowReady_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("flag");
        QTest::addColumn<QList<int>>("enabledVenueButtons");

        const QStringList files{"ZO-61011.PAT", "ZO-6101B.PAT", "ZO-57XYA.PAT", "ZO-58011.PAT",
                                "readme.txt"};
        QTest::newRow("data present, files of 大井 and 船橋")
            << int(Answer::DataPresent) << files << 1 << QList<int>{23, 24};
        QTest::newRow("data present, empty folder")
            << int(Answer::DataPresent) << QStringList{} << 1 << QList<int>{};
        QTest::newRow("no data: files are not even looked at")
            << int(Answer::NoData) << files << 0 << QList<int>{};
        QTest::newRow("close box: as no data")
            << int(Answer::CloseBox) << files << 0 << QList<int>{};
    }

    void eachAnswerLeavesTheWindowReady()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, files);
        QFETCH(int, flag);
        QFETCH(QList<int>, enabledVenueButtons);

        std::vector<std::string> names;
        for (const QString &f : files)
            names.push_back(f.toStdString());
        const NamesFolder folder(names);
        Module1 state;
        Form1 window(state, folder);

        answerDataCheck(Answer(answer));
        QVERIFY(Form1_Load(window, state, folder, showSplash(fastClock())));

        QCOMPARE(state.Spat4DataFlag, flag);
        for (int venue : {21, 22, 23, 24})
            QCOMPARE(window.Option(venue)->isEnabled(), enabledVenueButtons.contains(venue));
        QVERIFY(!window.Option(30)->isEnabled());
        for (int race = 1; race <= 12; ++race)
            QVERIFY(!window.Option(race)->isEnabled());
        if (flag == 1 && !files.isEmpty()) {
            QCOMPARE(state.availability.VenueFileFlags[61], 1);
            QCOMPARE(state.availability.RaceFileTable[61][1], 1);
            QCOMPARE(state.availability.RaceFileTable[61][11], 1);
            QCOMPARE(state.availability.RaceFileTable[57][10], 1);
            QCOMPARE(state.availability.VenueFileFlags[58], 1); // listed, never offered
        } else {
            QCOMPARE(state.availability.VenueFileFlags[61], 0);
            QCOMPARE(state.availability.RaceFileTable[61][1], 0);
        }

        // Whatever the answer: "8" shown and used, 前3走 and 人気 selected, all three
        // previous-race columns open, the layout's captions, and the focus on row 1.
        QCOMPARE(window.Combo1()->currentText(), QStringLiteral("8"));
        QCOMPARE(state.race.RunnerCount, 8);
        QVERIFY(window.Option(13)->isChecked());
        QVERIFY(window.Option(16)->isChecked());
        for (int row = 1; row <= 16; ++row)
            for (int column = 1; column <= 5; ++column)
                QVERIFY(window.Text(column, row)->isEnabled());
        QCOMPARE(window.Label(7)->text(), QStringLiteral("前3走までの人気順位"));
        QCOMPARE(window.Command(2)->text(), QStringLiteral("人気順位データクリア"));
        QVERIFY(window.LOADHO()->isEnabled());
        QCOMPARE(window.focusWidget(), window.Text(1, 1));
        QVERIFY(!window.isVisible()); // main() shows it once start-up is over
    }

    void cancelEndsTheProgramBeforeTheWindow()
    {
        const NamesFolder folder({"ZO-61011.PAT"});
        Module1 state;
        Form1 window(state, folder);
        answerDataCheck(Answer::Cancel);
        QVERIFY(!Form1_Load(window, state, folder, showSplash(fastClock())));
        QCOMPARE(state.Spat4DataFlag, 0);
        QCOMPARE(state.availability.VenueFileFlags[61], 0); // no scan
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
