#include "Form1TestSupport.h"
#include "JapaneseUi.h"
#include "Module1.h"
#include "Spat4Folder.h"

#include <QApplication>
#include <QDateTime>
#include <QFontInfo>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTest>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Under Wine the date formats are Wine's own: its Japanese short date is yyyy/M/d where Windows
// and glibc write yyyy/MM/dd, and a session whose first program ran under another locale
// keeps that locale's formats for the programs after it. The program follows the system's
// format either way; the hand-written Japanese dates below hold for Windows and Linux.
bool dateFormatsAreWines()
{
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

} // namespace

// Runs with LANG=ja_JP.UTF-8, as on a Japanese desktop: the status bar's date and the loaded
// file's time stamp take the Japanese formats, and the MS font names land on Japanese fonts.
class JapaneseDesktopTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        installJapaneseFonts();
        QCOMPARE(QLocale::system().name(), QStringLiteral("ja_JP"));
    }

    void statusBarDateIsJapanese()
    {
        Module1 state;
        EmptySpat4Folder folder;
        Form1 window(state, folder);
        const auto *date =
            window.StatusBar1()->findChild<QLabel *>(QStringLiteral("StatusBar1.Date"));
        QVERIFY(date);
        if (dateFormatsAreWines())
            QSKIP("the date formats under Wine are Wine's own, not Windows' yyyy/MM/dd");
        QCOMPARE(date->text(), QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
    }

    void timeStampUsesTheGeneralDateFormat_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("text");
        QTest::newRow("morning") << QDateTime(QDate(2026, 12, 7), QTime(7, 59, 26))
                                 << QStringLiteral("2026/12/07 7:59:26");
        QTest::newRow("afternoon") << QDateTime(QDate(2026, 1, 5), QTime(15, 4, 0))
                                   << QStringLiteral("2026/01/05 15:04:00");
        QTest::newRow("midnight shows the date alone")
            << QDateTime(QDate(2026, 12, 31), QTime(0, 0, 0)) << QStringLiteral("2026/12/31");
        QTest::newRow("a second after midnight keeps the time")
            << QDateTime(QDate(2026, 12, 31), QTime(0, 0, 1))
            << QStringLiteral("2026/12/31 0:00:01");
    }

    void timeStampUsesTheGeneralDateFormat()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, text);
        if (dateFormatsAreWines())
            QSKIP("the date formats under Wine are Wine's own, not Windows' yyyy/MM/dd");
        QCOMPARE(generalDateText(when, QLocale::system()), text);
    }

    void msFontNamesFallBackToJapaneseFonts_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("acceptable");
        // Under a Japanese locale fontconfig gives the IPA fonts their Japanese names.
        QTest::newRow("proportional")
            << QStringLiteral("ＭＳ Ｐゴシック")
            << QStringList{"IPAPGothic", "IPA Pゴシック", "Noto Sans CJK JP"};
        QTest::newRow("fixed") << QStringLiteral("ＭＳ ゴシック")
                               << QStringList{"IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP"};
    }

    void msFontNamesFallBackToJapaneseFonts()
    {
        QFETCH(QString, family);
        QFETCH(QStringList, acceptable);
        const QString used = QFontInfo(QFont(family, 9)).family();
        QVERIFY2(acceptable.contains(used), qPrintable(used));
    }
};

QTEST_MAIN(JapaneseDesktopTest)
#include "JapaneseDesktopTest.moc"
