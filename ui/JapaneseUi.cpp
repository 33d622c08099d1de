#include "JapaneseUi.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void installJapaneseFonts()
{
    // Debian's fontconfig answers DejaVu Sans for the MS names, which has no kana or kanji, so
    // the substitution is set here rather than left to the system. Substitutions only apply
    // when the named family itself is not installed.
    const struct {
        const QString &family;
        QStringList substitutes;
    } substitutions[] = {
        {kPGothic, {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")}},
        {kGothic, {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")}},
    };
    const QStringList installed = QFontDatabase::families();
    for (const auto &substitution : substitutions) {
        if (!installed.contains(substitution.family))
            QFont::insertSubstitutions(substitution.family, substitution.substitutes);
    }
    QApplication::setFont(QFont(kPGothic, 9));
}

bool installJapaneseTranslation(QApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto *translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QApplication::installTranslator(translator);
}
