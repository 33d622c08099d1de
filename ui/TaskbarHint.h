#pragma once

class QWidget;

// Asks the desktop to leave a top-level window out of the taskbar. On Windows an owned window
// has no taskbar button of its own, so there is nothing to ask; on X11 the window's
// _NET_WM_STATE carries _NET_WM_STATE_SKIP_TASKBAR from the moment it is mapped. Call before
// each showing: a window manager drops the state of a window that is hidden.
void askForNoTaskbarEntry(QWidget *window);
