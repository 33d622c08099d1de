#pragma once

#include <QString>

// Where the compiled-in resources are found.
inline const QString kProgramIconResource = QStringLiteral(":/milka.ico");
inline const QString kTitlePictureResource = QStringLiteral(":/Picture1.bmp");
