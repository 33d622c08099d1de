#pragma once

#include <QString>

#include <functional>

class QApplication;
class QFont;
class QWidget;

// The two font families the windows name. They are Windows fonts; elsewhere the program
// substitutes free Japanese fonts for them (installJapaneseFonts).
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");

// On Windows, the classic Windows style ("windowsvista") whatever the Windows version: the
// windows are laid out in twips for it, and the style Qt 6.7 and later pick on Windows 11
// ("windows11") draws larger, rounded controls that the boxes were not made for. Text is drawn
// by Qt's FreeType (the resources' qt.conf: fontengine=freetype), every face alike: Qt 6.8 draws
// with DirectWrite, and even its GDI engine hands DirectWrite the faces Windows must embolden,
// whose digits then overrun the designed boxes. Nothing changes elsewhere. Call once, after the
// QApplication exists and before any window is built.
void useDesignedStyle();

// Maps the MS family names to IPA and Noto fonts where the MS fonts are not installed, and makes
// the proportional Japanese font at 9 pt the application's default font. Call once, after the
// QApplication exists and before any window is built.
void installJapaneseFonts();

// Loads Qt's own Japanese translation (buttons of message boxes, context menus of text boxes,
// calendar names) and makes Japanese the default locale, whatever the system locale says.
// Returns false when the translation file is missing; the program then still runs.
bool installJapaneseTranslation(QApplication &app);

// The windows were designed for the MS fonts; a fallback font (or a longer date format) can
// need more room than a control's fixed box. Sets the widget's font from designFont down in
// quarter points, to 70% of its size at most, until fits() says the content fits its box; a
// content that fits keeps the design font.
void shrinkFontToFit(QWidget *widget, const QFont &designFont, const std::function<bool()> &fits);
