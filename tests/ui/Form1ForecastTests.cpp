#include "Form1TestSupport.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

// The forecast run started from Command1, through the window.
class Form1ForecastTests : public Form1TestCase<EmptySpat4Folder> {
    Q_OBJECT
private slots:
    void initTestCase() { installJapaneseUi(); }
    void init() { makeWindow(); }
    void cleanup() { dropWindow(); }

    void workedExample();
    void noRunners();
    void rowsBeyondRunnerCountIgnored();
    void disabledPreviousRaceBoxCounts();
    void runnerCountChosenByHand_data();
    void runnerCountChosenByHand();
    void runRefusedOnOverflow_data();
    void runRefusedOnOverflow();

private:
    void typeWorkedExample();
    QStringList resultCaptions() const;
    void clickForecast() { QTest::mouseClick(m_form->Command(1), Qt::LeftButton); }
};

namespace {

// The eight runners of the worked example: 前3走 / 前2走 / 前1走, then the odds low and high.
// clang-format off
const char *const kWorkedExample[8][5] = {
    {"3", "0", "3", "1.5", "2.1"},
    {"2", "1", "0", "1.1", "1.3"},
    {"5", "1", "3", "2.0", "3.2"},
    {"0", "0", "0", "",    ""},
    {"2", "2", "2", "1.1", "1.3"},
    {"3", "3", "3", "4.0", "6.5"},
    {"0", "5", "0", "1.6", "2.2"},
    {"1", "2", "0", "3.0", "4.8"},
};
// clang-format on

// Label11, 12, 13, 27, 28, then Label14, 15, 16, 25, 26.
const QStringList kWorkedExampleResult = {
    QStringLiteral("2　番"), QStringLiteral("5　番"), QStringLiteral("1　番"),
    QStringLiteral("7　番"), QStringLiteral("3　番"), QStringLiteral("2 - 5"),
    QStringLiteral("1 - 2"), QStringLiteral("1 - 5"), QStringLiteral("2 - 7"),
    QStringLiteral("2 - 3"),
};
const QStringList kEmptyResult = {
    QStringLiteral("　番"), QStringLiteral("　番"), QStringLiteral("　番"), QStringLiteral("　番"),
    QStringLiteral("　番"), QStringLiteral(" - "),  QStringLiteral(" - "),  QStringLiteral(" - "),
    QStringLiteral(" - "),  QStringLiteral(" - "),
};

} // namespace

void Form1ForecastTests::typeWorkedExample()
{
    for (int r = 1; r <= 8; ++r) {
        for (int c = 1; c <= 5; ++c)
            QTest::keyClicks(m_form->Text(c, r), QString::fromUtf8(kWorkedExample[r - 1][c - 1]));
    }
}

QStringList Form1ForecastTests::resultCaptions() const
{
    QStringList captions;
    for (int n : {11, 12, 13, 27, 28, 14, 15, 16, 25, 26})
        captions << m_form->Label(n)->text();
    return captions;
}

void Form1ForecastTests::workedExample()
{
    typeWorkedExample();
    QCOMPARE(m_state->race.RunnerCount, 8); // start-up's "8"

    std::vector<int> values;
    connect(m_form->ProgressBar1(), &QProgressBar::valueChanged, this,
            [&values](int v) { values.push_back(v); });
    clickForecast();

    QCOMPARE(resultCaptions(), kWorkedExampleResult);
    QStringList marks;
    for (int n : {8, 9, 10, 23, 24})
        marks << m_form->Label(n)->text();
    QCOMPARE(marks, (QStringList{"◎", "○", "▲", "△", "△"}));
    QCOMPARE(m_form->Label(26)->font().pointSizeF(), 12.0);

    // The bar went 1, 2, ... 7230 in order and then back to 0.
    QCOMPARE(values.size(), size_t(Form1::kProgressSteps + 1));
    for (int i = 0; i < Form1::kProgressSteps; ++i)
        QCOMPARE(values[i], i + 1);
    QCOMPARE(values.back(), 0);
    QCOMPARE(m_form->ProgressBar1()->value(), 0);

    // A second run on the same fields gives the same result.
    clickForecast();
    QCOMPARE(resultCaptions(), kWorkedExampleResult);
}

void Form1ForecastTests::noRunners()
{
    // Before start-up selects "8" the count is 0: nothing is read, every slot is empty.
    Module1 state;
    Form1 form(state, m_folder);
    QTest::keyClicks(form.Text(4, 1), QStringLiteral("1.5"));
    QTest::mouseClick(form.Command(1), Qt::LeftButton);
    QStringList captions;
    for (int n : {11, 12, 13, 27, 28, 14, 15, 16, 25, 26})
        captions << form.Label(n)->text();
    QCOMPARE(captions, kEmptyResult);
    QCOMPARE(state.race.PlaceOddsLow[1], 0.0);
    QCOMPARE(form.ProgressBar1()->value(), 0);
}

void Form1ForecastTests::rowsBeyondRunnerCountIgnored()
{
    typeWorkedExample();
    // Row 9 would take ◎ if it were read: best form and lowest odds.
    for (int c = 1; c <= 3; ++c)
        QTest::keyClicks(m_form->Text(c, 9), QStringLiteral("1"));
    QTest::keyClicks(m_form->Text(4, 9), QStringLiteral("1.0"));
    QTest::keyClicks(m_form->Text(5, 9), QStringLiteral("1.0"));
    clickForecast();
    QCOMPARE(resultCaptions(), kWorkedExampleResult);
    QCOMPARE(m_state->race.PrevRace3[9], 0);
}

void Form1ForecastTests::disabledPreviousRaceBoxCounts()
{
    typeWorkedExample();
    m_form->Option(15)->click(); // 前1走 only: Text1 and Text2 disabled, their numbers kept
    QVERIFY(!m_form->Text(1, 1)->isEnabled());
    clickForecast();
    QCOMPARE(m_state->race.PrevRace3[3], 5);
    QCOMPARE(m_state->race.PrevRace2[7], 5);
    QCOMPARE(resultCaptions(), kWorkedExampleResult);
}

void Form1ForecastTests::runnerCountChosenByHand_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::newRow("12") << 4 << 12;
    QTest::newRow("16") << 8 << 16;
    QTest::newRow("8") << 0 << 8;
}

void Form1ForecastTests::runnerCountChosenByHand()
{
    QFETCH(int, index);
    QFETCH(int, count);
    for (int r = 1; r <= 16; ++r)
        QTest::keyClicks(m_form->Text(3, r), QString::number(r));

    // The user opens the list and picks the entry.
    QComboBox *combo = m_form->Combo1();
    combo->setFocus();
    combo->showPopup();
    QTRY_VERIFY(combo->view()->isVisible());
    combo->view()->setCurrentIndex(combo->model()->index(index, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QCOMPARE(combo->currentText(), QString::number(count));
    QCOMPARE(m_state->race.RunnerCount, count);

    clickForecast();
    QCOMPARE(m_state->race.PrevRace1[count], count);
    if (count < 16)
        QCOMPARE(m_state->race.PrevRace1[count + 1], 0);
}

// A row of five fields beyond the data model's limits, and the whole message that refuses it.
void Form1ForecastTests::runRefusedOnOverflow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("fields"); // 前3走, 前2走, 前1走, odds low, odds high
    QTest::addColumn<QString>("message");
    const QString number = QStringLiteral("の数値が範囲を超えています。"
                                          "-32768 から 32767 までの数値を入力して下さい。");
    const QString sum = QStringLiteral("番の「前3走」「前2走」「前1走」の合計が範囲を超えています。"
                                       "合計が -32768 から 32767 までになるように入力して下さい。");
    QTest::newRow("number above 32767") << 2 << QStringList{"2", "40000", "0", "1.1", "1.3"}
                                        << QStringLiteral("2番の「前2走」") + number;
    QTest::newRow("number below -32768") << 3 << QStringList{"5", "1", "-32769", "2.0", "3.2"}
                                         << QStringLiteral("3番の「前1走」") + number;
    QTest::newRow("sum above 32767")
        << 4 << QStringList{"20000", "12767", "1", "", ""} << QStringLiteral("4") + sum;
    QTest::newRow("sum below -32768")
        << 6 << QStringList{"-20000", "-12768", "-1", "4.0", "6.5"} << QStringLiteral("6") + sum;
    const QString beyond = QStringLiteral("が扱える範囲を超えています。"
                                          "複勝オッズを確かめて下さい。");
    QTest::newRow("odds low") << 3 << QStringList{"5", "1", "3", "9E999", "3.2"}
                              << QStringLiteral("3番の「複勝オッズ下限」の数値") + beyond;
    QTest::newRow("odds high") << 7 << QStringList{"0", "5", "0", "1.6", "9E999"}
                               << QStringLiteral("7番の「複勝オッズ上限」の数値") + beyond;
    QTest::newRow("odds high, negative")
        << 5 << QStringList{"0", "5", "0", "1.6", "-1E999"}
        << QStringLiteral("5番の「複勝オッズ上限」の数値") + beyond;
    QTest::newRow("sum of odds") << 2 << QStringList{"2", "1", "0", "1E308", "1E308"}
                                 << QStringLiteral(
                                        "2番の「複勝オッズ下限」と「複勝オッズ上限」の合計") +
                                        beyond;
    QTest::newRow("sum of odds, negative")
        << 8 << QStringList{"2", "1", "0", "-1E308", "-1E308"}
        << QStringLiteral("8番の「複勝オッズ下限」と「複勝オッズ上限」の合計") + beyond;
}

void Form1ForecastTests::runRefusedOnOverflow()
{
    QFETCH(int, row);
    QFETCH(QStringList, fields);
    QFETCH(QString, message);

    typeWorkedExample();
    clickForecast();
    // Nobody can type these into boxes of two and five characters; the limits are the data
    // model's, so the boxes are opened wider for the test.
    for (int c = 1; c <= 5; ++c) {
        m_form->Text(c, row)->setMaxLength(32767);
        m_form->Text(c, row)->setText(fields[c - 1]);
    }

    const Module1 before = *m_state;
    const QStringList captionsBefore = resultCaptions();
    QStringList gridBefore;
    for (int r = 1; r <= 16; ++r)
        for (int c = 1; c <= 5; ++c)
            gridBefore << m_form->Text(c, r)->text();

    BoxAnswerer answerer({Answer::click(QMessageBox::Ok)});
    clickForecast();

    QCOMPARE(answerer.seen().size(), size_t(1));
    const SeenBox &box = answerer.seen()[0];
    QCOMPARE(box.text, message);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QStringList{"OK"});
    QCOMPARE(box.title, QStringLiteral("入力データ確認"));

    QVERIFY(m_state->race == before.race);
    QVERIFY(m_state->form == before.form);
    QVERIFY(m_state->odds == before.odds);
    QCOMPARE(resultCaptions(), captionsBefore);
    QStringList gridAfter;
    for (int r = 1; r <= 16; ++r)
        for (int c = 1; c <= 5; ++c)
            gridAfter << m_form->Text(c, r)->text();
    QCOMPARE(gridAfter, gridBefore);
    QCOMPARE(m_form->ProgressBar1()->value(), 0);
}

QTEST_MAIN(Form1ForecastTests)
#include "Form1ForecastTests.moc"
