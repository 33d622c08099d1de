#pragma once

#include <QString>

// "ﾊﾞｰｼﾞｮﾝ " and major.minor.revision, each number in decimal without leading zeros; the splash
// screen and the About box both show it.
inline QString versionCaption(int major, int minor, int revision)
{
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3").arg(major).arg(minor).arg(revision);
}
