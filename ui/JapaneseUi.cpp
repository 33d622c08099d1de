#include "JapaneseUi.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

void useDesignedStyle()
{
#ifdef Q_OS_WIN
    QApplication::setStyle(QStringLiteral("windowsvista"));
#endif
}

void installJapaneseFonts()
{
    // Debian's fontconfig answers DejaVu Sans for the MS names, which has no kana or kanji, so
    // the substitution is set here rather than left to the system. Substitutions only apply
    // when the named family itself is not installed.
    // On Windows the MS fonts may be listed under their English names only, or be missing (a
    // Windows without the Japanese fonts, Wine): then the IPA fonts, whose widths match the MS
    // fonts', and the narrow Japanese UI fonts of Windows come before any wider fallback.
    const struct {
        const QString &family;
        QStringList substitutes;
    } substitutions[] = {
#ifdef Q_OS_WIN
        {kPGothic,
         {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("Meiryo UI"),
          QStringLiteral("Yu Gothic UI"), QStringLiteral("MS UI Gothic")}},
        {kGothic,
         {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"), QStringLiteral("BIZ UDGothic"),
          QStringLiteral("Meiryo UI")}},
#else
        {kPGothic, {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")}},
        {kGothic, {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")}},
#endif
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
    // Qt's own folder on Linux; beside the program in the Windows folder a user unpacks.
    const QString folders[] = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                               QCoreApplication::applicationDirPath() +
                                   QStringLiteral("/translations")};
    for (const QString &folder : folders) {
        if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                             QStringLiteral("_"), folder))
            return QApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

void shrinkFontToFit(QWidget *widget, const QFont &designFont, const std::function<bool()> &fits)
{
    QFont font = designFont;
    const double designSize = designFont.pointSizeF();
    for (double size = designSize; size >= designSize * 0.7; size -= 0.25) {
        font.setPointSizeF(size);
        widget->setFont(font);
        if (fits())
            return;
    }
}
