// The main window's behaviour: start-up state, input handlers, the forecast run and the odds load.
#include "Form1.h"
#include "Form1Design.h"

#include "Forecast.h"
#include "MessageBoxes.h"
#include "Module1.h"
#include "NumberRule.h"
#include "OddsLoad.h"
#include "frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>

using form1::columnHeading;
using form1::kRaceButtons;

namespace {

// Venue buttons and the venue codes of SPAT4 file names.
struct VenueButton {
    int option;
    int code;
};
constexpr VenueButton kVenueButtons[] = {{21, 56}, {22, 62}, {23, 61}, {24, 57}};

const QString kNoLoadData = QStringLiteral("読込データがありませんでした。");

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

void Form1::connectHandlers()
{
    connect(m_command[1], &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_command[2], &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(m_command[3], &QPushButton::clicked, this, &Form1::Command3_Click);
    for (int n = 1; n <= kRaceButtons; ++n)
        connect(m_option[n], &QRadioButton::clicked, this, &Form1::RaceOption_Click);
    connect(m_option[13], &QRadioButton::clicked, this, &Form1::Option13_Click);
    connect(m_option[14], &QRadioButton::clicked, this, &Form1::Option14_Click);
    connect(m_option[15], &QRadioButton::clicked, this, &Form1::Option15_Click);
    connect(m_option[16], &QRadioButton::clicked, this, &Form1::Option16_Click);
    connect(m_option[17], &QRadioButton::clicked, this, &Form1::Option17_Click);
    connect(m_option[21], &QRadioButton::clicked, this, &Form1::Option21_Click);
    connect(m_option[22], &QRadioButton::clicked, this, &Form1::Option22_Click);
    connect(m_option[23], &QRadioButton::clicked, this, &Form1::Option23_Click);
    connect(m_option[24], &QRadioButton::clicked, this, &Form1::Option24_Click);
    for (int c : {4, 5}) {
        for (int r = 1; r <= kRows; ++r) {
            QLineEdit *box = m_text[c][r];
            connect(box, &QLineEdit::textEdited, this, [this, box, c] { keepTypingLimit(box, c); });
        }
    }
    connect(m_combo1, &QComboBox::currentIndexChanged, this, &Form1::Combo1_Click);
    connect(m_fin, &QAction::triggered, this, &Form1::FIN_Click);
    connect(m_loadho, &QAction::triggered, this, &Form1::LOADHO_Click);
    connect(m_ver, &QAction::triggered, this, &Form1::VER_Click);
}

// ---- Start-up ------------------------------------------------------------------------------

void Form1::initialiseInputs()
{
    selectRunnerCount(kFirstRunnerCount);
    if (m_option[13]->isChecked())
        Option13_Click();
}

void Form1::applyKindCaptions()
{
    if (m_option[16]->isChecked())
        Option16_Click();
    else
        Option17_Click();
}

void Form1::applyVenueAvailability(const spat4::Availability &availability)
{
    for (const VenueButton &venue : kVenueButtons)
        m_option[venue.option]->setEnabled(availability.VenueFileFlags[venue.code] != 0);
}

void Form1::selectRunnerCount(int count)
{
    m_state.race.RunnerCount = static_cast<std::int16_t>(count);
    const bool listed = count >= kFirstRunnerCount && count <= kLastRunnerCount;
    m_combo1->setCurrentIndex(listed ? count - kFirstRunnerCount : -1);
}

// ---- Forecast --------------------------------------------------------------------------------

void Form1::Command1_Click()
{
    // The progress phase hands nothing back to the event loop; the bar simply ends full.
    for (int progressCount = 1; progressCount <= kProgressSteps; ++progressCount)
        m_progressBar1->setValue(progressCount);

    engine::GridTexts grid;
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 1; c <= engine::kColumnCount; ++c)
            grid.rows[r - 1][c - 1] = m_text[c][r]->text().toStdString();
    }
    const auto outcome = engine::runForecast(m_state.race, m_state.form, m_state.odds, grid);
    if (const auto *error = std::get_if<engine::ForecastError>(&outcome)) {
        m_progressBar1->setValue(0);
        warnInput(this, forecastErrorText(*error));
        return;
    }
    showResult(std::get<engine::ForecastResult>(outcome).texts);
    m_progressBar1->setValue(0);
}

void Form1::showResult(const engine::ResultTexts &texts)
{
    const int numberLabels[] = {11, 12, 13, 27, 28};
    const int pairLabels[] = {14, 15, 16, 25, 26};
    for (int slot = 0; slot < 5; ++slot)
        setCaption(m_label[numberLabels[slot]], fromUtf8(texts.numberCaptions[slot]));
    // Where a number had to shrink to fit ("13　番" in a wider font), the five share the
    // smallest size, so one horse does not look less important than another.
    double smallest = m_label[numberLabels[0]]->font().pointSizeF();
    for (int n : numberLabels)
        smallest = std::min(smallest, m_label[n]->font().pointSizeF());
    for (int n : numberLabels) {
        QFont font = m_label[n]->font();
        font.setPointSizeF(smallest);
        m_label[n]->setFont(font);
    }
    for (int pair = 0; pair < 5; ++pair)
        setCaption(m_label[pairLabels[pair]], fromUtf8(texts.pairCaptions[pair]));
    // The marks are written again, all but ◎.
    setCaption(m_label[9], QStringLiteral("○"));
    setCaption(m_label[10], QStringLiteral("▲"));
    setCaption(m_label[23], QStringLiteral("△"));
    setCaption(m_label[24], QStringLiteral("△"));
    QFont font = m_label[26]->font();
    font.setPointSizeF(12);
    m_label[26]->setFont(font);
}

QString forecastErrorText(const engine::ForecastError &error)
{
    using Kind = engine::ForecastError::Kind;
    const QString column = columnHeading(static_cast<int>(error.column) + 1);
    switch (error.kind) {
    // Either way out of the 16-bit range: below its lowest value as well as above its highest.
    case Kind::WholeNumberOutOfRange:
        return QStringLiteral("%1番の「%2」の数値が範囲を超えています。"
                              "%3 から %4 までの数値を入力して下さい。")
            .arg(error.horse)
            .arg(column)
            .arg(std::numeric_limits<std::int16_t>::min())
            .arg(std::numeric_limits<std::int16_t>::max());
    case Kind::FormSumOutOfRange:
        return QStringLiteral("%1番の「前3走」「前2走」「前1走」の合計が範囲を超えています。"
                              "合計が %2 から %3 までになるように入力して下さい。")
            .arg(error.horse)
            .arg(std::numeric_limits<std::int16_t>::min())
            .arg(std::numeric_limits<std::int16_t>::max());
    case Kind::OddsNotFinite:
        return QStringLiteral("%1番の「%2」の数値が大きすぎます。"
                              "複勝オッズを確かめて下さい。")
            .arg(error.horse)
            .arg(column);
    case Kind::OddsMidNotFinite:
        return QStringLiteral("%1番の「複勝オッズ下限」と「複勝オッズ上限」の合計が大きすぎます。"
                              "複勝オッズを確かめて下さい。")
            .arg(error.horse);
    case Kind::RunnerCountOutOfRange:
        break;
    }
    return QStringLiteral(
        "出走馬数が正しくありません。出走馬数を 8 から 16 の中から選んで下さい。");
}

// ---- Input behaviour -------------------------------------------------------------------------

void Form1::setPreviousRaceColumns(bool text1, bool text2, bool text3)
{
    // Disabling a column keeps what was typed in it.
    for (int r = 1; r <= kRows; ++r) {
        m_text[1][r]->setEnabled(text1);
        m_text[2][r]->setEnabled(text2);
        m_text[3][r]->setEnabled(text3);
    }
}

void Form1::clearColumns(std::initializer_list<int> columns)
{
    for (int c : columns) {
        for (int r = 1; r <= kRows; ++r) {
            m_text[c][r]->clear();
            m_text[c][r]->setMaxLength(form1::typingLength(c));
        }
    }
}

void Form1::setProgramText(QLineEdit *box, int column, const QString &text)
{
    // The box's length limit is for typing: a longer text that the program sets is shown whole.
    box->setMaxLength(std::max<int>(form1::typingLength(column), int(text.size())));
    box->setText(text);
}

void Form1::keepTypingLimit(QLineEdit *box, int column)
{
    // Once the user shortens a longer text, the box takes no more than that again, and never
    // less than its typing length. Changing the limit moves the cursor, so it is put back.
    const int limit = std::max<int>(form1::typingLength(column), int(box->text().size()));
    if (limit < box->maxLength()) {
        const int cursor = box->cursorPosition();
        box->setMaxLength(limit);
        box->setCursorPosition(cursor);
    }
}

void Form1::RaceOption_Click()
{
    m_loadho->setEnabled(true);
}

void Form1::Option13_Click()
{
    setPreviousRaceColumns(true, true, true);
}
void Form1::Option14_Click()
{
    setPreviousRaceColumns(false, true, true);
}
void Form1::Option15_Click()
{
    setPreviousRaceColumns(false, false, true);
}

void Form1::Option16_Click()
{
    setCaption(m_label[7], QStringLiteral("前3走までの人気順位"));
    m_command[2]->setText(QStringLiteral("人気順位データクリア"));
}

void Form1::Option17_Click()
{
    setCaption(m_label[7], QStringLiteral("前3走までの着順位"));
    m_command[2]->setText(QStringLiteral("着順位データクリア"));
}

void Form1::Command2_Click()
{
    if (!confirm(this, QStringLiteral("消去してよろしいですか？")))
        return;
    clearColumns({1, 2, 3});
}

void Form1::Command3_Click()
{
    if (!confirm(this, QStringLiteral("消去してよろしいですか？")))
        return;
    clearColumns({4, 5});
}

void Form1::Combo1_Click(int index)
{
    // A runner count chosen by hand is the count the next forecast reads.
    if (index >= 0)
        m_state.race.RunnerCount = static_cast<std::int16_t>(kFirstRunnerCount + index);
}

void Form1::FIN_Click()
{
    if (!confirm(this, QStringLiteral("終了してよろしいですか？")))
        return;
    m_programEnd();
}

void Form1::VER_Click()
{
    // Owned by the main window: no taskbar button of its own, never behind the window. Its
    // designed place on the screen is kept.
    frmAbout dialog(this);
    dialog.exec();
}

void Form1::closeEvent(QCloseEvent *event)
{
    // The user's close box or Alt+F4 arrives as a spontaneous event from the window system and
    // is refused without a word; closing from code or at the end of the session goes through.
    if (event->spontaneous() && !m_sessionEnding)
        event->ignore();
    else
        event->accept();
}

// ---- Race availability -----------------------------------------------------------------------

void Form1::enableRaceButtonsOf(int venueCode)
{
    // Selection is left alone: a selected race button stays selected even when disabled.
    const auto &races = m_state.availability.RaceFileTable[venueCode];
    for (int race = 1; race <= kRaceButtons; ++race)
        m_option[race]->setEnabled(races[race] != 0);
}

void Form1::Option21_Click()
{
    enableRaceButtonsOf(56);
}
void Form1::Option22_Click()
{
    enableRaceButtonsOf(62);
}
void Form1::Option23_Click()
{
    enableRaceButtonsOf(61);
}
void Form1::Option24_Click()
{
    enableRaceButtonsOf(57);
}

// ---- Odds loading ----------------------------------------------------------------------------

int Form1::selectedVenueCode() const
{
    for (const VenueButton &venue : kVenueButtons) {
        if (m_option[venue.option]->isChecked())
            return venue.code;
    }
    return 0;
}

int Form1::selectedRace() const
{
    for (int race = 1; race <= kRaceButtons; ++race) {
        if (m_option[race]->isChecked())
            return race;
    }
    return 0;
}

void Form1::LOADHO_Click()
{
    if (!confirm(this, QStringLiteral("ｵｯｽﾞを読み込みますか？")))
        return;
    const int venueCode = selectedVenueCode();
    const int race = selectedRace();
    if (venueCode == 0 && race == 0) {
        warnLoad(this, kNoLoadData);
        return;
    }
    // The file is read and checked in full before anything on screen changes.
    const auto outcome = spat4::planLoad(m_folder, venueCode, race);
    if (const auto *problem = std::get_if<spat4::LoadProblem>(&outcome)) {
        warnLoad(this, loadProblemText(*problem));
        return;
    }
    applyLoadPlan(std::get<spat4::LoadPlan>(outcome));
}

QString generalDateText(const QDateTime &when, const QLocale &locale)
{
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    const QTime time = when.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    // The short time format without seconds ("H:mm") gets them after the minutes, as the
    // general date format shows them; the long format would spell out 時, 分 and 秒.
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    if (!timeFormat.contains(QLatin1Char('s'))) {
        const int minutes = timeFormat.indexOf(QLatin1String("mm"));
        if (minutes >= 0)
            timeFormat.insert(minutes + 2, QLatin1String(":ss"));
    }
    return date + QLatin1Char(' ') + locale.toString(time, timeFormat);
}

void Form1::applyLoadPlan(const spat4::LoadPlan &plan)
{
    const int n = plan.runnerCount;

    const QDateTime modified = QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(plan.modified.time_since_epoch())
            .count());
    setCaption(m_label[1],
               generalDateText(modified, QLocale::system()) + QStringLiteral("    現在"));

    spat4::LoaderState &loader = m_state.loader;
    loader.OddsFilePath = plan.filePath;
    loader.OddsHeaderText = plan.headerText;
    loader.RaceCharText = std::string(1, plan.raceChar);
    loader.RaceNumber = plan.raceNumber;
    for (int k = 1; k <= n; ++k) {
        loader.PlaceLowText[k - 1] = plan.lowText[k - 1];
        loader.PlaceHighText[k - 1] = plan.highText[k - 1];
    }

    selectRunnerCount(n);

    clearColumns({4, 5});
    for (int k = 1; k <= n; ++k) {
        m_state.race.PlaceOddsLow[k] = plan.lowValue[k - 1];
        setProgramText(m_text[4][k], 4, fromUtf8(engine::shortestDecimal(plan.lowValue[k - 1])));
    }
    for (int k = 1; k <= n; ++k) {
        m_state.race.PlaceOddsHigh[k] = plan.highValue[k - 1];
        setProgramText(m_text[5][k], 5, fromUtf8(engine::shortestDecimal(plan.highValue[k - 1])));
    }

    setCaption(m_label[17], fromUtf8(plan.title));
    setCaption(m_label[18], QStringLiteral("第%1レース").arg(plan.raceNumber));
    setCaption(m_label[22], fromUtf8(plan.venueName));
}

QString loadProblemText(const spat4::LoadProblem &problem)
{
    using Kind = spat4::LoadProblem::Kind;
    const QString detail = fromUtf8(problem.detail);
    const auto withDetail = [&detail](const QString &text) {
        return detail.isEmpty() ? text : text + QLatin1Char('\n') + detail;
    };
    switch (problem.kind) {
    case Kind::NoSelection:
    case Kind::NoMatchingFile:
        return kNoLoadData;
    case Kind::FileUnreadable:
        return withDetail(QStringLiteral("オッズデータのファイルを読み込めませんでした。"));
    case Kind::TooShortForHeader:
    case Kind::TooShortForOdds:
        return withDetail(QStringLiteral("オッズデータのファイルが短すぎます。"
                                         "ファイルが壊れている可能性があります。"));
    case Kind::RunnerCountNotANumber:
        return QStringLiteral("オッズデータの出走馬数「%1」が読み取れませんでした。"
                              "ファイルが壊れている可能性があります。")
            .arg(detail);
    case Kind::RunnerCountOutOfRange:
        return QStringLiteral("オッズデータの出走馬数が %1 頭です。"
                              "8～16頭のレースだけ読み込めます。")
            .arg(detail);
    case Kind::OddsNotFinite:
        return QStringLiteral("オッズデータの%1番の複勝オッズが表示できない値です。").arg(detail);
    }
    return kNoLoadData;
}
