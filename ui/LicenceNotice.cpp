#include "LicenceNotice.h"

#include <QCoreApplication>
#include <QDir>

QString licenceNoticeText(LicencePlatform platform, const QString &qtVersion,
                          const QString &licenceFolder)
{
    QString text = QStringLiteral(
                       "このプログラムは、次のライブラリを使っています。\n"
                       "\n"
                       "・Qt %1（Qt Core、Qt GUI、Qt Widgets）\n"
                       "　Copyright (C) The Qt Company Ltd. and other contributors.\n"
                       "　ライセンス：GNU LGPL v3（GNU GPL v3 に基づきます）\n")
                       .arg(qtVersion);
    if (platform == LicencePlatform::Windows) {
        text += QStringLiteral(
            "　Qt に組み込まれた zlib、PCRE2、FreeType、HarfBuzz、libpng などは、"
            "それぞれのライセンスによります。\n"
            "・GCC の実行時ライブラリ（libstdc++、libgcc）\n"
            "　ライセンス：GNU GPL v3 と GCC Runtime Library Exception 3.1\n"
            "・MinGW-w64 の実行時ライブラリと winpthreads\n"
            "　ライセンス：MinGW-w64 runtime licensing、MIT 形式\n"
            "\n"
            "ライセンスの全文は、このプログラムと同じ場所の LICENSES フォルダにあります。\n");
        return text + licenceFolder;
    }
    return text + QStringLiteral(
                      "・ICU（文字コードの変換）\n"
                      "　Copyright (C) 2016 and later Unicode, Inc. and others.\n"
                      "　ライセンス：Unicode License\n"
                      "・GNU C++ ライブラリ（libstdc++）\n"
                      "　ライセンス：GNU GPL v3 と GCC Runtime Library Exception 3.1\n"
                      "\n"
                      "ライセンスの全文は、次の場所にあります。\n"
                      "/usr/share/doc/milka（このプログラム）\n"
                      "/usr/share/doc/libqt6core6、libicu72、libstdc++6 など"
                      "（各ライブラリの copyright）\n"
                      "/usr/share/common-licenses（GPL-3、LGPL-3）");
}

QString licenceNotice()
{
#ifdef Q_OS_WIN
    return licenceNoticeText(
        LicencePlatform::Windows, QString::fromLatin1(qVersion()),
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QStringLiteral("/LICENSES")));
#else
    return licenceNoticeText(LicencePlatform::Linux, QString::fromLatin1(qVersion()), {});
#endif
}
