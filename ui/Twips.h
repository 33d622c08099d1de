#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QVariant>
#include <QWidget>

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

// What of its designed box a control keeps on screen: the whole box, only the corner its text
// grows from (an autosizing label takes the size of its text), or, for a window centred on the
// screen, only the size.
enum class DesignKeeps { Box, TopLeft, TopRight, SizeCentred };

// Each control carries its designed box, in twips relative to its parent (a window's client
// area: relative to the screen), and what of it the control keeps, so a check of the windows on a
// real screen compares what it finds there with the design tables themselves.
inline constexpr char kDesignTwipsProperty[] = "designTwips";
inline constexpr char kDesignKeepsProperty[] = "designKeeps";

// Places a control at its designed box (Left, Top, Width, Height in twips) and records it.
inline void placeInTwips(QWidget *widget, int left, int top, int width, int height,
                         DesignKeeps keeps = DesignKeeps::Box)
{
    widget->setGeometry(twipsRect(left, top, width, height));
    widget->setProperty(kDesignTwipsProperty, QRect(left, top, width, height));
    widget->setProperty(kDesignKeepsProperty, static_cast<int>(keeps));
}
