#pragma once

#include <QRect>

#include <functional>

class QWidget;

// Where a window's frame goes in the available area of its screen (the screen less its
// taskbar and panels): where it is when it fits there whole; else moved just enough to fit. On
// an axis where the frame is longer than the area, it starts at the area's start and is cut to
// the area's length.
QRect fittedFrame(const QRect &frame, const QRect &available);

// Moves a top-level window, frame included, into the available area of its screen by
// fittedFrame; a window that cannot shrink (a fixed size) keeps its size.
void fitOnScreen(QWidget *window);

// Fits the window by fitOnScreen when it is first shown as a normal window: before it is
// mapped, and again when it is first exposed, as a window manager on X11 tells the frame's size
// only once it has framed it. After that the window is left where the user and the system put
// it: minimised and restored, maximised, snapped or moved to another screen. fit does the
// fitting, fitOnScreen unless given.
void keepOnScreen(QWidget *window, std::function<void()> fit = {});
