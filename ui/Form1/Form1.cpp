// The main window's behaviour: captions and the status bar's clock, start-up state, input
// handlers, the forecast run and the odds load.
#include "Form1.h"
#include "Form1Design.h"
#include "Form1Messages.h"

#include "Forecast.h"
#include "JapaneseUi.h"
#include "LicenceNotice.h"
#include "MessageBoxes.h"
#include "Module1.h"
#include "NumberRule.h"
#include "OddsLoad.h"
#include "RaceCard.h"
#include "Venues.h"
#include "frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <chrono>

using form1::kRaceButtons;

namespace {

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A fixed-size label whose text would be cut gets a smaller font rather than losing characters.
void fitFontToLabel(QLabel *label, const QFont &designFont)
{
    shrinkFontToFit(label, designFont, [label] {
        // Measured in fractions of a pixel, as the text is laid out at any screen scale.
        const QRectF box = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRectF needed =
            QFontMetricsF(label->font(), label).boundingRect(box, flags, label->text());
        return needed.width() <= box.width() && needed.height() <= box.height();
    });
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
    connect(m_lic, &QAction::triggered, this, &Form1::LIC_Click);
}

// ---- Captions and the status bar ------------------------------------------------------------

void Form1::setCaption(QLabel *label, const QString &caption)
{
    label->setText(caption);
    // An autosizing label takes the size of its text and keeps its top-left corner.
    if (label->property("autoSize").toBool())
        label->adjustSize();
    const QVariant designFont = label->property("designFont");
    if (designFont.isValid())
        fitFontToLabel(label, designFont.value<QFont>());
}

void Form1::keepStatusBarCurrent()
{
    // The status bar keeps its date and time panels current by itself.
    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &Form1::updateClock);
    m_clock->start();
    updateClock();

    // Like a bottom-aligned status bar, it follows the bottom edge of the client area.
    m_client->installEventFilter(this);
}

void Form1::updateClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    m_datePanel->setText(QLocale::system().toString(now.date(), QLocale::ShortFormat));
    m_timePanel->setText(now.time().toString(QStringLiteral("hh:mm")));
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize) {
        const QWidget *client = m_client;
        const int height = m_statusBar1->height();
        m_statusBar1->setGeometry(0, client->height() - height, client->width(), height);
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Start-up ------------------------------------------------------------------------------

void Form1::initialiseInputs()
{
    selectRunnerCount(engine::kMinRunners);
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
    for (std::size_t i = 0; i < spat4::kVenues.size(); ++i)
        m_option[form1::venueButton(i)]->setEnabled(
            availability.VenueFileFlags[spat4::kVenues[i].code] != 0);
}

void Form1::selectRunnerCount(int count)
{
    m_state.race.RunnerCount = static_cast<std::int16_t>(count);
    const bool listed = count >= engine::kMinRunners && count <= engine::kMaxRunners;
    m_combo1->setCurrentIndex(listed ? count - engine::kMinRunners : -1);
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
        warnInput(this, form1::forecastErrorText(*error));
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
    if (!confirm(this, form1::confirmClearText()))
        return;
    clearColumns({1, 2, 3});
}

void Form1::Command3_Click()
{
    if (!confirm(this, form1::confirmClearText()))
        return;
    clearColumns({4, 5});
}

void Form1::Combo1_Click(int index)
{
    // A runner count chosen by hand is the count the next forecast reads.
    if (index >= 0)
        m_state.race.RunnerCount = static_cast<std::int16_t>(engine::kMinRunners + index);
}

void Form1::FIN_Click()
{
    if (!confirm(this, form1::confirmExitText()))
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

void Form1::LIC_Click()
{
    tell(this, QStringLiteral("ライセンス情報"), licenceNotice());
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
    enableRaceButtonsOf(form1::venueOfButton(21)->code);
}
void Form1::Option22_Click()
{
    enableRaceButtonsOf(form1::venueOfButton(22)->code);
}
void Form1::Option23_Click()
{
    enableRaceButtonsOf(form1::venueOfButton(23)->code);
}
void Form1::Option24_Click()
{
    enableRaceButtonsOf(form1::venueOfButton(24)->code);
}

// ---- Odds loading ----------------------------------------------------------------------------

int Form1::selectedVenueCode() const
{
    for (std::size_t i = 0; i < spat4::kVenues.size(); ++i) {
        if (m_option[form1::venueButton(i)]->isChecked())
            return spat4::kVenues[i].code;
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
    if (!confirm(this, form1::confirmLoadText()))
        return;
    const int venueCode = selectedVenueCode();
    const int race = selectedRace();
    if (venueCode == 0 && race == 0) {
        warnLoad(this, form1::noLoadDataText());
        return;
    }
    // The file is read and checked in full before anything on screen changes.
    const auto outcome = spat4::planLoad(m_folder, venueCode, race);
    if (const auto *problem = std::get_if<spat4::LoadProblem>(&outcome)) {
        warnLoad(this, form1::loadProblemText(*problem));
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
