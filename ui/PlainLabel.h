#pragma once

#include <QLabel>

// Every label of the windows is one of these. Its text is shown character for character, never
// read as markup: a race title from a file, a date from the system's settings or a caption shows
// as "<u>特別</u>" when that is what it holds, not as an underlined word.
class PlainLabel : public QLabel {
public:
    explicit PlainLabel(QWidget *parent = nullptr) : PlainLabel(QString(), parent) {}
    explicit PlainLabel(const QString &text, QWidget *parent = nullptr) : QLabel(parent)
    {
        setTextFormat(Qt::PlainText);
        setText(text);
    }
};
