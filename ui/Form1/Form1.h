#pragma once

#include "RaceCard.h"

#include <QDateTime>
#include <QLocale>
#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStatusBar;
class QTimer;
struct DesignedBox;
struct Module1;

namespace engine {
struct ResultTexts;
} // namespace engine

namespace spat4 {
class Spat4Folder;
struct Availability;
struct LoadPlan;
} // namespace spat4

// The main window: race choice, entry grid, forecast button and result. Every control carries its
// design name as objectName; an element of a control array is named "Text1(3)", "Label4(14)".
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // The entry grid's rows, one per horse.
    static constexpr int kRows = engine::kGridRows;
    // Steps of the forecast's progress phase; also the range of ProgressBar1.
    static constexpr int kProgressSteps = 7230;

    Form1(Module1 &state, const spat4::Spat4Folder &folder, QWidget *parent = nullptr);
    ~Form1() override;

    // Every control's designed box, from the design tables: the client area's on the screen,
    // the others' in their parents.
    static QList<DesignedBox> designedBoxes();

    // Controls by design name and element number.
    QLineEdit *Text(int column, int row) const; // Text1..Text5 (column 1..5), rows 1..16
    QLabel *Label(int number) const;            // the single labels Label1..Label28
    QLabel *Label2(int index) const;            // horse numbers, elements 0..15
    QLabel *Label4(int index) const;            // "～" of rows 1 and 3..16, elements 0..14
    QRadioButton *Option(int number) const;     // Option1..Option24, Option30
    QPushButton *Command(int number) const;     // Command1..Command3
    QGroupBox *Frame(int number) const;         // Frame1..Frame5, Frame7..Frame9
    QComboBox *Combo1() const { return m_combo1; }
    QProgressBar *ProgressBar1() const { return m_progressBar1; }
    QStatusBar *StatusBar1() const { return m_statusBar1; }
    QLabel *Picture1() const { return m_picture1; }
    QLabel *Image1() const { return m_image1; }
    QMenu *FL() const { return m_fl; }
    QMenu *HLP() const { return m_hlp; }
    QAction *FIN() const { return m_fin; }
    QAction *LOADHO() const { return m_loadho; }
    QAction *VER() const { return m_ver; }
    QAction *LIC() const { return m_lic; }

    // Start-up. The design leaves the previous-race columns disabled and the runner count box
    // empty; start-up selects "8" and enables the columns (initialiseInputs), and when SPAT4 data
    // are present sets the kind captions (applyKindCaptions) and the venue buttons found by the
    // availability scan (applyVenueAvailability).
    void initialiseInputs();
    void applyKindCaptions();
    void applyVenueAvailability(const spat4::Availability &availability);

    // The runner count of the race on screen: RunnerCount and Combo1 always agree. Combo1 lists
    // the runner range; a count outside it leaves Combo1 with no entry selected.
    void selectRunnerCount(int count);

    // What FIN's OK does: by default QCoreApplication::exit(0), which ends the event loop without
    // asking any window to close.
    void setProgramEnd(std::function<void()> end) { m_programEnd = std::move(end); }

    // Handlers, named after control and event.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void RaceOption_Click(); // Option1..Option12, all alike
    void Option13_Click();
    void Option14_Click();
    void Option15_Click();
    void Option16_Click();
    void Option17_Click();
    void Option21_Click();
    void Option22_Click();
    void Option23_Click();
    void Option24_Click();
    void Combo1_Click(int index);
    void FIN_Click();
    void LOADHO_Click();
    void VER_Click();
    void LIC_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildFrames(QWidget *client);
    void buildOptions();
    void buildLabels(QWidget *client);
    void buildGrid(QWidget *client);
    void buildRightColumn(QWidget *client);
    void buildLines(QWidget *client);
    void buildStatusBar(QWidget *client);
    void setTabOrderAsDesigned();
    void connectHandlers();
    void keepStatusBarCurrent();
    void placeClientArea(int menuHeight);
    void fitToScreen();

    QWidget *parentOf(int frame, QWidget *client) const;
    void setCaption(QLabel *label, const QString &caption);
    void setPreviousRaceColumns(bool text1, bool text2, bool text3);
    void clearColumns(std::initializer_list<int> columns);
    void setProgramText(QLineEdit *box, int column, const QString &text);
    void keepTypingLimit(QLineEdit *box, int column);
    void enableRaceButtonsOf(int venueCode);
    int selectedVenueCode() const;
    int selectedRace() const;
    void showResult(const engine::ResultTexts &texts);
    void applyLoadPlan(const spat4::LoadPlan &plan);
    void updateClock();

    Module1 &m_state;
    const spat4::Spat4Folder &m_folder;
    std::function<void()> m_programEnd;
    bool m_sessionEnding = false;
    bool m_placed = false; // placed again as first shown
    QScrollArea *m_clientScroll = nullptr;
    QWidget *m_client = nullptr; // the area of the designed controls, inside m_clientScroll

    std::array<std::array<QLineEdit *, kRows + 1>, 6> m_text{};
    std::array<QLabel *, 29> m_label{};
    std::array<QLabel *, kRows> m_label2{};
    std::array<QLabel *, 15> m_label4{};
    std::array<QRadioButton *, 31> m_option{};
    std::array<QPushButton *, 4> m_command{};
    std::array<QGroupBox *, 10> m_frame{};
    std::array<QButtonGroup *, 10> m_group{}; // by frame number
    QComboBox *m_combo1 = nullptr;
    QProgressBar *m_progressBar1 = nullptr;
    QStatusBar *m_statusBar1 = nullptr;
    QLabel *m_datePanel = nullptr;
    QLabel *m_timePanel = nullptr;
    QTimer *m_clock = nullptr;
    QLabel *m_picture1 = nullptr;
    QLabel *m_image1 = nullptr;
    QMenu *m_fl = nullptr;
    QMenu *m_hlp = nullptr;
    QAction *m_fin = nullptr;
    QAction *m_loadho = nullptr;
    QAction *m_ver = nullptr;
    QAction *m_lic = nullptr;
};

// A date and time as the system's general date format writes it: the short date, then the time
// with its seconds ("2026/12/07 7:59:26" in Japanese); a time of exactly midnight gives the date
// alone.
QString generalDateText(const QDateTime &when, const QLocale &locale);
