#pragma once

#include <QWidget>

#include <chrono>
#include <functional>

class QFrame;
class QLabel;
struct DesignedBox;

// The splash screen. Closing it holds the user-interface thread for a little over two seconds,
// so it stays on screen that long however it is closed.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    // A monotonic reading: only differences between readings matter.
    using Clock = std::function<std::chrono::nanoseconds()>;

    explicit frmSplash(QWidget *parent = nullptr);

    // The window's designed box (its size; it is centred on the screen), its frame's and the
    // frame's controls', from the design table.
    static QList<DesignedBox> designedBoxes();

    // The whole life of the splash at start-up: create it, show it, draw it at once, close it
    // (which holds), destroy it. Returns when it is gone.
    static void showAndHold(const Clock &clock = steadyClock);

    // Shows the window and has it completely drawn before returning.
    void showAndDraw();

    // Replaces the clock the hold reads.
    void setClock(Clock clock);

    static std::chrono::nanoseconds steadyClock();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Form_KeyPress();
    void Frame1_Click();
    void Form_Unload();

    QFrame *Frame1 = nullptr;
    QLabel *lblVersion = nullptr;
    Clock m_clock;
};
