#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Positions and sizes are kept in twips, as the window designs give them; 15 twips are one
// device-independent pixel, so Qt's own high-DPI scaling takes it from there.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twips(int value)
{
    // Round half away from zero, so 7.5 px becomes 8 and -7.5 px becomes -8.
    return value >= 0 ? (value + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-value + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline QPoint twipsPoint(int left, int top)
{
    return {twips(left), twips(top)};
}
inline QSize twipsSize(int width, int height)
{
    return {twips(width), twips(height)};
}
inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsPoint(left, top), twipsSize(width, height)};
}
