#pragma once

#include <QValidator>

// The entry grid's boxes hold numbers read as ASCII (a full-width digit would stop the reading
// and read as 0), so full-width digits, point, signs, E and the ideographic space that reach a
// box anyway, typed with the input method on or pasted, are turned into their half-width forms
// as they enter. Everything else is accepted as typed: the forecast reads any text.
class HalfWidthValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

    static QString toHalfWidth(const QString &text);
};
