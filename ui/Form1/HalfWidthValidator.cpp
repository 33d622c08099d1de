#include "HalfWidthValidator.h"

namespace {

QChar halfWidth(QChar c)
{
    const char16_t u = c.unicode();
    // U+FF01..U+FF5E are the full-width forms of ASCII 0x21..0x7E, at a fixed distance.
    if (u >= 0xFF01 && u <= 0xFF5E)
        return QChar(char16_t(u - 0xFEE0));
    switch (u) {
    case 0x3000: // ideographic space
        return QLatin1Char(' ');
    case 0x2212: // minus sign
    case 0x30FC: // the long-vowel mark, what a kana keyboard gives for the minus key
    case 0xFF70: // its half-width form
        return QLatin1Char('-');
    default:
        return c;
    }
}

} // namespace

QString HalfWidthValidator::toHalfWidth(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        c = halfWidth(c);
    return result;
}

QValidator::State HalfWidthValidator::validate(QString &input, int &) const
{
    // One character in, one out: the cursor and the box's maximum length stay as they were.
    fixup(input);
    return Acceptable;
}

void HalfWidthValidator::fixup(QString &input) const
{
    input = toHalfWidth(input);
}
