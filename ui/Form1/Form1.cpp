#include "Form1.h"

#include "Module1.h"

Form1::Form1(Module1 &state, QWidget *parent) : QMainWindow(parent), m_state(state)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("トモロのミルカ！！！（地方版）"));
}
