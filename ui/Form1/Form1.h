#pragma once

#include <QMainWindow>

struct Module1;

// The main window (placeholder until the full layout lands).
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(Module1 &state, QWidget *parent = nullptr);

private:
    Module1 &m_state;
};
