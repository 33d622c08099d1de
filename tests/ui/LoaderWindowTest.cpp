#include "LoaderTestSupport.h"

#include <QTemporaryDir>

#include <algorithm>
#include <memory>

using namespace loadertest;

// The odds loader through the main window: LOADHO's boxes answered as a user would, SPAT4 files
// written into a temporary folder and listed in an order the test fixes.
class LoaderWindowTest : public LoaderTestCase {
    Q_OBJECT
private slots:
    void initTestCase() { installJapaneseUi(); }
    void init();
    void cleanup();

    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void warningWithoutAFile_data();
    void warningWithoutAFile();
    void firstInNameOrderWins_data();
    void firstInNameOrderWins();
    void twelveRunners();
    void oddsFieldShown_data();
    void oddsFieldShown();
    void titleWithoutLeadingBlanks_data();
    void titleWithoutLeadingBlanks();
    void markupInTitleShownAsWritten();
    void fileTimeStamp_data();
    void fileTimeStamp();
    void loadingTwiceGivesTheSameResult();
    void fewerRunnersAfterMore();
    void longOddsTextIsShownAndForecastWhole();
    void oddsBoxTypingLimitAfterALongText();
    void venueBorderBlackTextRed();

private:
    // Writes the file and adds it to the end of the listing.
    fs::path addFile(const spat4::sample::SampleFile &file);
    fs::path dir() const { return u8path(m_dir->path().toStdString()); }
};

void LoaderWindowTest::init()
{
    makeWindow();
}

void LoaderWindowTest::cleanup()
{
    dropWindow();
}

fs::path LoaderWindowTest::addFile(const spat4::sample::SampleFile &file)
{
    const fs::path path = writeSample(dir(), file);
    m_folder.entries.push_back({spat4::sample::sampleFileName(file), path});
    return path;
}

void LoaderWindowTest::cancelChangesNothing_data()
{
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("Cancel clicked") << false;
    QTest::newRow("Enter takes the default button") << true;
}

void LoaderWindowTest::cancelChangesNothing()
{
    QFETCH(bool, byEnter);
    addFile(funabashi11(12));
    select(*m_form, 24, 11);
    presetEverything(*m_form, *m_state);
    const QStringList before = snapshot(*m_form, *m_state);

    BoxAnswerer answerer({byEnter ? Answer::enter() : Answer::click(QMessageBox::Cancel),
                          Answer::click(QMessageBox::Ok)});
    m_form->LOADHO()->trigger();

    QCOMPARE(answerer.seen().size(), size_t(1));
    const SeenBox &box = answerer.seen()[0];
    QCOMPARE(box.text, QStringLiteral("ｵｯｽﾞを読み込みますか？"));
    QCOMPARE(box.title, QStringLiteral("終了確認"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.buttons.size(), 2);
    QVERIFY(box.buttons.contains(QStringLiteral("OK")));
    QVERIFY(box.buttons.contains(QStringLiteral("キャンセル")));
    QCOMPARE(box.defaultButton, QStringLiteral("キャンセル"));
    QCOMPARE(snapshot(*m_form, *m_state), before);
}

void LoaderWindowTest::warningWithoutAFile_data()
{
    QTest::addColumn<int>("venueOption");
    QTest::addColumn<int>("raceOption");
    QTest::newRow("nothing selected") << 0 << 0;
    QTest::newRow("venue without a race") << 24 << 0;
    QTest::newRow("race without a venue") << 0 << 11;
    QTest::newRow("race of the venue without a file") << 24 << 5;
    QTest::newRow("same race of another venue") << 23 << 11;
}

void LoaderWindowTest::warningWithoutAFile()
{
    QFETCH(int, venueOption);
    QFETCH(int, raceOption);
    addFile(funabashi11(12)); // 船橋 race 11 only
    select(*m_form, venueOption, raceOption);
    presetEverything(*m_form, *m_state);
    const QStringList before = snapshot(*m_form, *m_state);

    const std::vector<SeenBox> seen = loadWithOk(*m_form);

    QCOMPARE(seen.size(), size_t(2));
    QCOMPARE(seen[0].text, QStringLiteral("ｵｯｽﾞを読み込みますか？"));
    QCOMPARE(seen[1].text, QStringLiteral("読込データがありませんでした。"));
    QCOMPARE(seen[1].title, QStringLiteral("読込みデータ確認"));
    QCOMPARE(seen[1].icon, QMessageBox::Warning);
    QCOMPARE(seen[1].buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(snapshot(*m_form, *m_state), before);
}

// Of two files for the race, the one first in name order loads, whichever the listing yields first.
void LoaderWindowTest::firstInNameOrderWins_data()
{
    QTest::addColumn<bool>("secondNameFirst");
    QTest::newRow("ZO-5701B.PAT listed first") << false;
    QTest::newRow("ZO-57AAB.PAT listed first") << true;
}

void LoaderWindowTest::firstInNameOrderWins()
{
    QFETCH(bool, secondNameFirst);
    spat4::sample::SampleFile one = funabashi11(12);
    one.freeChars = "01";
    one.title = "FIRST FILE";
    spat4::sample::SampleFile two = funabashi11(10);
    two.freeChars = "AA";
    two.title = "SECOND FILE";
    // Another venue's race 11 and 船橋's race 1 must not answer the race probe.
    spat4::sample::SampleFile otherVenue = funabashi11(9);
    otherVenue.venueCode = 61;
    otherVenue.title = "OOI";
    spat4::sample::SampleFile race1 = funabashi11(8);
    race1.raceChar = '1';
    race1.title = "RACE ONE";
    addFile(otherVenue);
    addFile(race1);
    addFile(secondNameFirst ? two : one);
    addFile(secondNameFirst ? one : two);
    const fs::path first = dir() / "ZO-5701B.PAT";

    // Chosen the way a user can: the scan enables 船橋, its click enables race 11.
    spat4::scanAvailability(m_folder, m_state->availability);
    m_form->applyVenueAvailability(m_state->availability);
    m_form->Option(24)->click();
    m_form->Option(11)->click();
    QVERIFY(m_form->Option(24)->isChecked());
    QVERIFY(m_form->Option(11)->isChecked());

    const std::vector<SeenBox> seen = loadWithOk(*m_form);

    QCOMPARE(seen.size(), size_t(1));
    QCOMPARE(m_form->Label(17)->text().trimmed(), QStringLiteral("FIRST FILE"));
    QCOMPARE(m_state->race.RunnerCount, 12);
    QCOMPARE(m_form->Label(22)->text(), QStringLiteral("船橋"));
    QCOMPARE(m_form->Label(18)->text(), QStringLiteral("第11レース"));
    QCOMPARE(QString::fromStdString(m_state->loader.OddsFilePath),
             QString::fromStdString(first.string()));
    QCOMPARE(m_state->loader.RaceCharText, std::string("B"));
    QCOMPARE(m_state->loader.RaceNumber, 11);
}

void LoaderWindowTest::twelveRunners()
{
    addFile(funabashi11(12));
    select(*m_form, 24, 11);
    presetEverything(*m_form, *m_state);
    QStringList previousRaces;
    for (int column = 1; column <= 3; ++column)
        for (int row = 1; row <= Form1::kRows; ++row)
            previousRaces << m_form->Text(column, row)->text();

    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));

    QCOMPARE(m_form->Combo1()->currentText(), QStringLiteral("12"));
    QCOMPARE(m_state->race.RunnerCount, 12);
    for (int k = 1; k <= 12; ++k) {
        QCOMPARE(m_form->Text(4, k)->text(), QStringLiteral("%1.1").arg(k));
        QCOMPARE(m_form->Text(5, k)->text(), QStringLiteral("%1.9").arg(k));
        QCOMPARE(m_state->race.PlaceOddsLow[k], k + 0.1);
        QCOMPARE(m_state->race.PlaceOddsHigh[k], k + 0.9);
        const std::string low = std::to_string(k) + ".1";
        QCOMPARE(m_state->loader.PlaceLowText[k - 1], std::string(5 - low.size(), ' ') + low);
    }
    for (int k = 13; k <= 16; ++k) {
        QCOMPARE(m_form->Text(4, k)->text(), QString());
        QCOMPARE(m_form->Text(5, k)->text(), QString());
    }
    // Entry 0 and the entries above the count keep what they held.
    for (int i : {0, 13, 14, 15, 16, 17, 18, 19, 20}) {
        QCOMPARE(m_state->race.PlaceOddsLow[i], -100.25 - i);
        QCOMPARE(m_state->race.PlaceOddsHigh[i], -200.5 - i);
    }
    // The previous-race columns are not the loader's.
    QStringList previousRacesAfter;
    for (int column = 1; column <= 3; ++column)
        for (int row = 1; row <= Form1::kRows; ++row)
            previousRacesAfter << m_form->Text(column, row)->text();
    QCOMPARE(previousRacesAfter, previousRaces);
}

void LoaderWindowTest::oddsFieldShown_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("value");
    QTest::newRow("blank, 1, point, 2") << " 1.2"
                                        << "1.2" << 1.2;
    QTest::newRow("five blanks") << "     "
                                 << "0" << 0.0;
    QTest::newRow("10.0 and a blank") << "10.0 "
                                      << "10" << 10.0;
    QTest::newRow("blank inside") << "1 . 5"
                                  << "1.5" << 1.5;
    QTest::newRow("second point stops") << "1.2.3"
                                        << "1.2" << 1.2;
    QTest::newRow("letters read as 0") << "  ---"
                                       << "0" << 0.0;
    QTest::newRow("exponent") << "15E-1"
                              << "1.5" << 1.5;
    QTest::newRow("hexadecimal") << "  &HA"
                                 << "10" << 10.0;
    QTest::newRow("minus zero") << "   -0"
                                << "0" << 0.0;
    QTest::newRow("largest that fits the box") << "99999"
                                               << "99999" << 99999.0;
    // Text the program sets is not cut to the five characters the user may type.
    QTest::newRow("point first, six characters shown") << ".1234"
                                                       << "0.1234" << 0.1234;
    QTest::newRow("exponent, six digits shown") << "  1E5"
                                                << "100000" << 100000.0;
    QTest::newRow("small exponent") << " 1E-4"
                                    << "0.0001" << 0.0001;
    QTest::newRow("21 digits") << " 1E20" << QStringLiteral("1") + QString(20, QLatin1Char('0'))
                               << 1e20;
}

void LoaderWindowTest::oddsFieldShown()
{
    QFETCH(QString, field);
    QFETCH(QString, shown);
    QFETCH(double, value);
    spat4::sample::SampleFile file = funabashi11(8);
    file.records[2].low = field.toStdString().substr(0, 5);
    file.records[2].high = field.toStdString().substr(0, 5);
    addFile(file);
    select(*m_form, 24, 11);

    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));

    QCOMPARE(m_form->Text(4, 3)->text(), shown);
    QCOMPARE(m_form->Text(5, 3)->text(), shown);
    QCOMPARE(m_state->race.PlaceOddsLow[3], value);
    QCOMPARE(m_state->race.PlaceOddsHigh[3], value);
    // Its neighbours are read from their own records.
    QCOMPARE(m_form->Text(4, 2)->text(), QStringLiteral("2.1"));
    QCOMPARE(m_form->Text(5, 4)->text(), QStringLiteral("4.9"));
}

void LoaderWindowTest::titleWithoutLeadingBlanks_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");
    // The field is 19 characters; blanks after the title are the field's own and stay.
    QTest::newRow("two leading blanks")
        << "  TEST CUP" << QStringLiteral("TEST CUP") + QString(9, ' ');
    QTest::newRow("Japanese after blanks")
        << QStringLiteral("  Ｃ２九十") << QStringLiteral("Ｃ２九十") + QString(13, ' ');
    QTest::newRow("ideographic blank kept")
        << QStringLiteral("　かしわ記念") << QStringLiteral("　かしわ記念") + QString(13, ' ');
    QTest::newRow("all blanks") << "" << QString();
    QTest::newRow("full width") << QStringLiteral("スパーキングナイト賞ＡＢＣＤＥＦＧＨＩ")
                                << QStringLiteral("スパーキングナイト賞ＡＢＣＤＥＦＧＨＩ");
}

void LoaderWindowTest::titleWithoutLeadingBlanks()
{
    QFETCH(QString, title);
    QFETCH(QString, shown);
    spat4::sample::SampleFile file = funabashi11(9);
    file.title = title.toStdString();
    addFile(file);
    select(*m_form, 24, 11);

    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));

    QCOMPARE(m_form->Label(17)->text(), shown);
    // A double-byte title must not move the runner count or the odds.
    QCOMPARE(m_state->race.RunnerCount, 9);
    QCOMPARE(m_form->Text(4, 9)->text(), QStringLiteral("9.1"));
}

namespace {

// What a label draws, measured in its contents: pixels clearly darker than its background.
struct Ink {
    int longestRun = 0; // the longest horizontal run of dark pixels in one row
    int rightmost = -1; // the rightmost dark column, from the contents' left edge
};

Ink inkOf(QLabel *label)
{
    const QImage image = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect area = label->contentsRect();
    const int background = qGray(image.pixel(area.right(), area.bottom()));
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        int run = 0;
        for (int x = area.left(); x <= area.right(); ++x) {
            const bool dark = qGray(image.pixel(x, y)) < background - 48;
            run = dark ? run + 1 : 0;
            ink.longestRun = std::max(ink.longestRun, run);
            if (dark)
                ink.rightmost = std::max(ink.rightmost, x - area.left());
        }
    }
    return ink;
}

} // namespace

// A title that looks like markup is shown character for character: no underline under 特別,
// and the "X" after "<br>" stands on the same, visible line.
void LoaderWindowTest::markupInTitleShownAsWritten()
{
    const QString title = QStringLiteral("<u>特別</u>戦<br>X");
    spat4::sample::SampleFile file = funabashi11(8);
    file.title = title.toStdString();
    addFile(file);
    select(*m_form, 24, 11);

    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));

    QLabel *label = m_form->Label(17);
    QCOMPARE(label->text(), title + QString(19 - title.size(), u' '));

    // The same text in the same font as markup, to show what an underline measures here: a
    // dark run the width of 特別, longer than any stroke of one character.
    QLabel markup;
    markup.setTextFormat(Qt::RichText);
    markup.setFont(label->font());
    markup.setAlignment(label->alignment());
    markup.resize(label->size());
    markup.setText(title);
    const int em = label->fontMetrics().horizontalAdvance(QStringLiteral("特"));
    const Ink asMarkup = inkOf(&markup);
    QVERIFY2(asMarkup.longestRun >= em * 3 / 2, qPrintable(QString::number(asMarkup.longestRun)));

    const Ink shown = inkOf(label);
    QVERIFY2(shown.longestRun < em * 3 / 2,
             qPrintable(QStringLiteral("a dark run of %1 px").arg(shown.longestRun)));
    const int beforeX = label->fontMetrics().horizontalAdvance(QStringLiteral("<u>特別</u>戦<br>"));
    QVERIFY2(shown.rightmost >= beforeX,
             qPrintable(QStringLiteral("ink ends at %1 px, X starts at %2 px")
                            .arg(shown.rightmost)
                            .arg(beforeX)));
}

void LoaderWindowTest::fileTimeStamp_data()
{
    QTest::addColumn<QDateTime>("written");
    QTest::addColumn<QString>("timeShown"); // empty: the date alone
    QTest::newRow("afternoon") << QDateTime(QDate(2024, 3, 9), QTime(15, 4, 5)) << "15:04:05";
    QTest::newRow("one second past midnight")
        << QDateTime(QDate(2023, 12, 31), QTime(0, 0, 1)) << "0:00:01";
    QTest::newRow("midnight") << QDateTime(QDate(2024, 3, 10), QTime(0, 0)) << QString();
}

void LoaderWindowTest::fileTimeStamp()
{
    QFETCH(QDateTime, written);
    QFETCH(QString, timeShown);
    const fs::path path = addFile(funabashi11(8));
    fs::last_write_time(path, fileTimeOf(written));
    select(*m_form, 24, 11);

    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));

    const QString label = m_form->Label(1)->text();
    QCOMPARE(label, generalDateText(written, QLocale::system()) + QStringLiteral("    現在"));
    const QString date = QLocale::system().toString(written.date(), QLocale::ShortFormat);
    QVERIFY2(label.startsWith(date), qPrintable(label));
    if (timeShown.isEmpty()) {
        QCOMPARE(label, date + QStringLiteral("    現在"));
    } else {
        // The times written here are those of a 24-hour clock, as Linux's C locale and a
        // Japanese desktop show them; Wine's default locale for the tests is English (US).
        if (QLocale::system().timeFormat(QLocale::ShortFormat).contains(u'A', Qt::CaseInsensitive))
            QSKIP("the system locale has a 12-hour clock; the hand-written times are 24-hour");
        QVERIFY2(label.contains(timeShown + QStringLiteral("    現在")), qPrintable(label));
    }
}

void LoaderWindowTest::loadingTwiceGivesTheSameResult()
{
    addFile(funabashi11(11));
    select(*m_form, 24, 11);
    presetEverything(*m_form, *m_state);
    const QStringList before = snapshot(*m_form, *m_state);

    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));
    const QStringList once = snapshot(*m_form, *m_state);
    QVERIFY(once != before);
    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));
    QCOMPARE(snapshot(*m_form, *m_state), once);
}

void LoaderWindowTest::fewerRunnersAfterMore()
{
    addFile(funabashi11(12));
    spat4::sample::SampleFile race12 = funabashi11(9);
    race12.raceChar = 'C';
    race12.title = "LAST RACE";
    for (int k = 1; k <= 16; ++k)
        race12.records[k - 1] = {std::to_string(k + 20), std::to_string(k + 40)};
    addFile(race12);
    select(*m_form, 24, 11);
    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));
    QCOMPARE(m_state->race.RunnerCount, 12);

    select(*m_form, 0, 12);
    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));

    QCOMPARE(m_state->race.RunnerCount, 9);
    QCOMPARE(m_form->Combo1()->currentText(), QStringLiteral("9"));
    QCOMPARE(m_form->Label(18)->text(), QStringLiteral("第12レース"));
    QCOMPARE(m_form->Label(17)->text().trimmed(), QStringLiteral("LAST RACE"));
    for (int k = 1; k <= 9; ++k) {
        QCOMPARE(m_form->Text(4, k)->text(), QString::number(k + 20));
        QCOMPARE(m_form->Text(5, k)->text(), QString::number(k + 40));
        QCOMPARE(m_state->race.PlaceOddsLow[k], k + 20.0);
    }
    for (int k = 10; k <= 16; ++k) {
        QCOMPARE(m_form->Text(4, k)->text(), QString());
        QCOMPARE(m_form->Text(5, k)->text(), QString());
    }
    // Above the new count the arrays keep the earlier race's odds; the forecast reads rows
    // 1..RunnerCount only.
    for (int k = 10; k <= 12; ++k)
        QCOMPARE(m_state->race.PlaceOddsLow[k], k + 0.1);
}

// A file whose odds read 0.1234 forecasts with 0.1234, not with the five characters "0.123"
// that a cut text would give. Horses 1 and 2 have the weakest form, so both may be marked, and
// odds 0.1234-1 against 0.123-1: horse 2 has the lower midpoint and takes ◎. Read as 0.123,
// horse 1 would tie with it and take ◎ as the lower number.
void LoaderWindowTest::longOddsTextIsShownAndForecastWhole()
{
    spat4::sample::SampleFile file = funabashi11(8);
    file.records[0] = {".1234", "    1"};
    file.records[1] = {"0.123", "    1"};
    addFile(file);
    select(*m_form, 24, 11);
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 3; ++column)
            m_form->Text(column, row)
                ->setText(row <= 2 ? QStringLiteral("9") : QStringLiteral("1"));

    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));
    QCOMPARE(m_form->Text(4, 1)->text(), QStringLiteral("0.1234"));
    QCOMPARE(m_state->race.PlaceOddsLow[1], 0.1234);

    m_form->Command(1)->click();
    QCOMPARE(m_form->Label(11)->text(), QStringLiteral("2　番")); // ◎
    QCOMPARE(m_form->Label(12)->text(), QStringLiteral("1　番")); // ○
    QCOMPARE(m_state->race.PlaceOddsLow[1], 0.1234);

    // The same card with the text cut to five characters marks the other horse.
    m_form->Text(4, 1)->setText(QStringLiteral("0.123"));
    m_form->Command(1)->click();
    QCOMPARE(m_form->Label(11)->text(), QStringLiteral("1　番"));
    QCOMPARE(m_form->Label(12)->text(), QStringLiteral("2　番"));
}

// The five-character limit still holds for what the user types into a box that the loader
// filled with a longer text, and comes back whole once the box is cleared.
void LoaderWindowTest::oddsBoxTypingLimitAfterALongText()
{
    spat4::sample::SampleFile file = funabashi11(8);
    file.records[0].low = ".1234";
    addFile(file);
    select(*m_form, 24, 11);
    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));

    QLineEdit *box = m_form->Text(4, 1);
    box->setFocus();
    box->end(false);
    QTest::keyClick(box, Qt::Key_5);
    QCOMPARE(box->text(), QStringLiteral("0.1234")); // a seventh character is refused
    // Editing inside the text keeps it whole: the cursor stays where the user put it.
    box->setCursorPosition(2);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), QStringLiteral("0.234"));
    QCOMPARE(box->cursorPosition(), 2);
    QTest::keyClick(box, Qt::Key_1);
    QCOMPARE(box->text(), QStringLiteral("0.234")); // five again: a sixth is refused
    QCOMPARE(box->cursorPosition(), 2);

    // Cleared by its button, the box takes five characters again.
    {
        BoxAnswerer answerer({Answer::click(QMessageBox::Ok)});
        m_form->Command(3)->click();
    }
    QCOMPARE(m_form->Text(4, 2)->text(), QString());
    typeText(m_form->Text(4, 2), QStringLiteral("123456"));
    QCOMPARE(m_form->Text(4, 2)->text(), QStringLiteral("12345"));
}

// What the user sees of the venue label after a load: red text inside a black border.
void LoaderWindowTest::venueBorderBlackTextRed()
{
    addFile(funabashi11(8));
    select(*m_form, 24, 11);
    QCOMPARE(loadWithOk(*m_form).size(), size_t(1));
    QLabel *label = m_form->Label(22);
    QCOMPARE(label->text(), QStringLiteral("船橋"));

    const QImage image = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(image.width() > 10 && image.height() > 10);
    const auto isBlack = [](QRgb c) { return qRed(c) < 64 && qGreen(c) < 64 && qBlue(c) < 64; };
    const auto isRed = [](QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; };
    QStringList notBlack;
    for (int x = 0; x < image.width(); ++x)
        for (int y : {0, image.height() - 1})
            if (!isBlack(image.pixel(x, y)))
                notBlack
                    << QStringLiteral("(%1,%2)=%3").arg(x).arg(y).arg(image.pixel(x, y), 0, 16);
    for (int y = 0; y < image.height(); ++y)
        for (int x : {0, image.width() - 1})
            if (!isBlack(image.pixel(x, y)))
                notBlack
                    << QStringLiteral("(%1,%2)=%3").arg(x).arg(y).arg(image.pixel(x, y), 0, 16);
    QVERIFY2(notBlack.isEmpty(), qPrintable(notBlack.join(u' ')));
    int redInside = 0;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            redInside += isRed(image.pixel(x, y));
    QVERIFY2(redInside >= 10, qPrintable(QString::number(redInside)));
}

QTEST_MAIN(LoaderWindowTest)
#include "LoaderWindowTest.moc"
