#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <utility>

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

// One control's row of a window's design, as data: the control's name (its objectName), its box
// in twips relative to its parent (a window's, and the main window's client area's: relative to
// the screen), what of the box it keeps, and the frame it lies in (empty: the client area).
struct DesignedBox {
    DesignedBox(QString name, QRect twips, DesignKeeps keeps = DesignKeeps::Box, QString frame = {})
        : name(std::move(name)), twips(twips), keeps(keeps), frame(std::move(frame))
    {
    }
    QString name;
    QRect twips;
    DesignKeeps keeps;
    QString frame;
};

// Places a control at its designed box (Left, Top, Width, Height in twips).
inline void placeInTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
}
inline void placeInTwips(QWidget *widget, const QRect &box)
{
    placeInTwips(widget, box.left(), box.top(), box.width(), box.height());
}
