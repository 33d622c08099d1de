#pragma once

#include <QString>

class QApplication;

// The two font families the windows name. They are Windows fonts; elsewhere the program
// substitutes free Japanese fonts for them (installJapaneseFonts).
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");

// Maps the MS family names to IPA and Noto fonts where the MS fonts are not installed, and makes
// the proportional Japanese font at 9 pt the application's default font. Call once, after the
// QApplication exists and before any window is built.
void installJapaneseFonts();

// Loads Qt's own Japanese translation (buttons of message boxes, context menus of text boxes,
// calendar names) and makes Japanese the default locale, whatever the system locale says.
// Returns false when the translation file is missing; the program then still runs.
bool installJapaneseTranslation(QApplication &app);
