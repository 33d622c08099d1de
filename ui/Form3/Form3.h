#pragma once

#include <QDialog>

class QCalendarWidget;
class QPushButton;
struct DesignedBox;
struct Module1;

// Asks at start-up whether SPAT4 place-odds data are present and sets Spat4DataFlag.
//
// exec() returns Accepted for "SPAT4データ　有" and "SPAT4データ　無", Rejected for the close
// box (the flag is left as it was), and EndProgram for "キャンセル": start-up then ends the
// program at once, with exit status 0, without showing the main window. The dialog itself never
// ends the process.
class Form3 : public QDialog {
    Q_OBJECT
public:
    static constexpr int EndProgram = 2;

    explicit Form3(Module1 &state, QWidget *parent = nullptr);

    // The dialog's designed box on the screen and its controls', from the design table.
    static QList<DesignedBox> designedBoxes();

    // True once "キャンセル" has been chosen.
    bool endRequested() const { return m_endRequested; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    Module1 &m_state;
    bool m_endRequested = false;
    QCalendarWidget *MonthView1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
};
