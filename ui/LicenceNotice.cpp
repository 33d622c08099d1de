#include "LicenceNotice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

#ifndef Q_OS_WIN
#include <gnu/libc-version.h>
#include <link.h>
#endif

namespace {

QString qtLines(const QString &qtVersion)
{
    return QStringLiteral("・Qt %1（Qt Core、Qt GUI、Qt Widgets）\n"
                          "　Copyright (C) The Qt Company Ltd. and other contributors.\n"
                          "　ライセンス：GNU LGPL v3（GNU GPL v3 に基づきます）\n")
        .arg(qtVersion);
}

const QString kHeading = QStringLiteral("このプログラムは、次のライブラリを使っています。\n\n");

} // namespace

QString windowsLicenceNotice(const QString &qtVersion, const QString &licenceFolder)
{
    return kHeading + qtLines(qtVersion) +
           QStringLiteral("　Qt に組み込まれた zlib、PCRE2、FreeType、HarfBuzz、libpng などは、"
                          "それぞれのライセンスによります。\n"
                          "・GCC の実行時ライブラリ（libstdc++、libgcc）\n"
                          "　ライセンス：GNU GPL v3 と GCC Runtime Library Exception 3.1\n"
                          "・MinGW-w64 の実行時ライブラリと winpthreads\n"
                          "　ライセンス：MinGW-w64 runtime licensing、MIT 形式\n"
                          "\n"
                          "ライセンスの全文は、このプログラムと同じ場所の LICENSES フォルダにあります。\n") +
           licenceFolder;
}

QString linuxLicenceNotice(const LinuxSystem &system)
{
    QString text = kHeading + qtLines(system.qtVersion) +
                   QStringLiteral("・GNU C++ ライブラリ（libstdc++）\n"
                                  "　ライセンス：GNU GPL v3 と GCC Runtime Library Exception 3.1\n"
                                  "・glibc %1（GNU C ライブラリ。文字コードの変換）\n"
                                  "　ライセンス：GNU LGPL v2.1 以降\n"
                                  "\n"
                                  "ライセンスの全文は、次の場所にあります。\n")
                       .arg(system.libcVersion);
    if (!system.programCopyrightFolder.isEmpty())
        text += system.programCopyrightFolder + QStringLiteral("（このプログラム）\n");
    for (const RunningLibrary &library : system.libraries) {
        if (library.copyrightFolder.isEmpty())
            text += library.file + QStringLiteral("（%1。パッケージの copyright は見つかりません）\n")
                                       .arg(library.name);
        else
            text += library.copyrightFolder + QStringLiteral("（%1 の copyright）\n").arg(library.name);
    }
    return text + QStringLiteral("/usr/share/common-licenses（GPL-3、LGPL-3、LGPL-2.1）");
}

#ifndef Q_OS_WIN

namespace {

// The files of every shared object loaded into this process, as the dynamic loader names them.
QStringList loadedObjects()
{
    QStringList files;
    dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *data) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] == '/')
                static_cast<QStringList *>(data)->append(QFile::decodeName(info->dlpi_name));
            return 0;
        },
        &files);
    return files;
}

// The names a file may be listed under by dpkg: as loaded, with its links resolved, and with
// or without /usr in front, since /lib is a link to /usr/lib on merged-/usr systems.
QStringList spellingsOf(const QString &file)
{
    QStringList names{file};
    const QString resolved = QFileInfo(file).canonicalFilePath();
    if (!resolved.isEmpty() && resolved != file)
        names += resolved;
    for (const QString &name : QStringList(names)) {
        if (name.startsWith(QLatin1String("/usr/")))
            names += name.mid(4);
        else
            names += QStringLiteral("/usr") + name;
    }
    return names;
}

// For each file, the package whose dpkg file list holds one of its names, without its
// architecture; empty on a system without dpkg or where no package holds the file. One pass
// over the lists (about 10 MB on a desktop) for all the files.
QStringList packagesHolding(const QList<QStringList> &namesOfEachFile)
{
    QHash<QByteArray, qsizetype> fileOfName;
    for (qsizetype i = 0; i < namesOfEachFile.size(); ++i)
        for (const QString &name : namesOfEachFile[i])
            fileOfName.insert(QFile::encodeName(name), i);
    QStringList packages(namesOfEachFile.size());
    qsizetype unfound = namesOfEachFile.size();
    const QDir info(QStringLiteral("/var/lib/dpkg/info"));
    const QStringList lists = info.entryList({QStringLiteral("*.list")}, QDir::Files, QDir::Name);
    for (auto list = lists.begin(); list != lists.end() && unfound > 0; ++list) {
        QFile file(info.filePath(*list));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : file.readAll().split('\n')) {
            const auto found = fileOfName.constFind(line);
            if (found != fileOfName.constEnd() && packages[*found].isEmpty()) {
                packages[*found] = list->chopped(5).section(u':', 0, 0);
                --unfound;
            }
        }
    }
    return packages;
}

} // namespace

LinuxSystem runningLinuxSystem()
{
    struct Wanted {
        QString name, filePrefix;
    };
    const Wanted wanted[] = {
        {QStringLiteral("Qt Core"), QStringLiteral("libQt6Core.so")},
        {QStringLiteral("Qt GUI"), QStringLiteral("libQt6Gui.so")},
        {QStringLiteral("Qt Widgets"), QStringLiteral("libQt6Widgets.so")},
        {QStringLiteral("libstdc++"), QStringLiteral("libstdc++.so")},
        {QStringLiteral("glibc"), QStringLiteral("libc.so")},
    };
    LinuxSystem system;
    system.qtVersion = QString::fromLatin1(qVersion());
    system.libcVersion = QString::fromLatin1(gnu_get_libc_version());
    const QStringList loaded = loadedObjects();
    QList<QStringList> namesOfEachFile;
    for (const Wanted &w : wanted) {
        const auto file = std::find_if(loaded.begin(), loaded.end(), [&w](const QString &f) {
            return QFileInfo(f).fileName().startsWith(w.filePrefix);
        });
        if (file == loaded.end())
            continue;
        system.libraries.push_back({w.name, *file, {}});
        namesOfEachFile.append(spellingsOf(*file));
    }
    const QStringList packages = packagesHolding(namesOfEachFile);
    for (std::size_t i = 0; i < system.libraries.size(); ++i) {
        const QString &package = packages[static_cast<qsizetype>(i)];
        const QString folder = QStringLiteral("/usr/share/doc/") + package;
        if (!package.isEmpty() && QFileInfo::exists(folder + QStringLiteral("/copyright")))
            system.libraries[i].copyrightFolder = folder;
    }
    const QString programDoc = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                               QStringLiteral("/../share/doc/milka"));
    if (QFileInfo::exists(programDoc + QStringLiteral("/copyright")))
        system.programCopyrightFolder = programDoc;
    return system;
}

#endif

QString licenceNotice()
{
#ifdef Q_OS_WIN
    return windowsLicenceNotice(
        QString::fromLatin1(qVersion()),
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QStringLiteral("/LICENSES")));
#else
    return linuxLicenceNotice(runningLinuxSystem());
#endif
}
