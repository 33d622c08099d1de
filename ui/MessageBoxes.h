#pragma once

#include <QString>

class QWidget;

// The program's message boxes. Every confirmation (clearing, exiting, loading odds) is the same
// box: OK and Cancel, the question icon, Cancel as the default, the title "終了確認".
// Returns true only when the user chose OK.
bool confirm(QWidget *parent, const QString &text);

// The odds loader's warning: exclamation icon, OK alone, title "読込みデータ確認".
void warnLoad(QWidget *parent, const QString &text);

// A forecast that cannot be run on the numbers typed in: exclamation icon, OK alone.
void warnInput(QWidget *parent, const QString &text);

// A plain notice: no icon, OK alone.
void tell(QWidget *parent, const QString &title, const QString &text);
