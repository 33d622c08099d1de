#pragma once

#include <QString>

// The notice of ヘルプ → ライセンス情報: each library the program is built with, its copyright and
// licence, and where the licence texts are. The program shows its own copyright (the splash, the
// About box), so Qt's notice and the way to its licence are shown too.
enum class LicencePlatform { Linux, Windows };

// The notice for a platform, with the Qt version in use and, on Windows, the LICENSES folder.
QString licenceNoticeText(LicencePlatform platform, const QString &qtVersion,
                          const QString &licenceFolder);

// The notice for this build of the program: on Windows the folder beside milka.exe.
QString licenceNotice();
