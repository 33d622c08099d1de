#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The notice of ヘルプ → ライセンス情報: each library the program runs with, its copyright and
// licence, and where the licence texts are. The program shows its own copyright (the splash, the
// About box), so Qt's notice and the way to its licence are shown too.

// On Windows: the Qt version in use and the LICENSES folder beside milka.exe, which the zip and
// the setup fill.
QString windowsLicenceNotice(const QString &qtVersion, const QString &licenceFolder);

// On Linux the libraries are the system's, so the notice names what is running: the versions
// the libraries report and the folders of the packages that hold them.
struct RunningLibrary {
    QString name;            // as the notice names it: "Qt Core", "libstdc++"...
    QString file;            // the file the program has loaded
    QString copyrightFolder; // its package's /usr/share/doc folder; empty when none was found
};
struct LinuxSystem {
    QString qtVersion;
    QString libcVersion;
    std::vector<RunningLibrary> libraries;
    // The program's own licence folder when it was installed from the package (the copyright
    // file beside the installed program's share/doc); empty otherwise.
    QString programCopyrightFolder;
};
QString linuxLicenceNotice(const LinuxSystem &system);

#ifndef Q_OS_WIN
// What the running system has: the libraries loaded into this process and, from dpkg's file
// lists, the packages that hold them.
LinuxSystem runningLinuxSystem();
#endif

// The notice for this build of the program on the system it runs on.
QString licenceNotice();
