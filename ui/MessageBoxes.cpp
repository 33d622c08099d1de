#include "MessageBoxes.h"

#include <QMessageBox>

namespace {

QMessageBox::StandardButton ask(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                const QString &text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    // A message may quote a file's name or fields; it is shown as written, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                              : QMessageBox::Ok);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

bool confirm(QWidget *parent, const QString &text)
{
    return ask(parent, QMessageBox::Question, QStringLiteral("終了確認"), text,
               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Ok;
}

void warnLoad(QWidget *parent, const QString &text)
{
    ask(parent, QMessageBox::Warning, QStringLiteral("読込みデータ確認"), text, QMessageBox::Ok,
        QMessageBox::Ok);
}

void warnInput(QWidget *parent, const QString &text)
{
    ask(parent, QMessageBox::Warning, QStringLiteral("入力データ確認"), text, QMessageBox::Ok,
        QMessageBox::Ok);
}

void tell(QWidget *parent, const QString &title, const QString &text)
{
    ask(parent, QMessageBox::NoIcon, title, text, QMessageBox::Ok, QMessageBox::Ok);
}
