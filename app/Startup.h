#pragma once

#include "frmSplash.h"

#include <memory>

class Form1;
class QApplication;
struct Module1;

namespace spat4 {
class Spat4Folder;
}

// Before the QApplication: where the user has not chosen a platform (QT_QPA_PLATFORM) and an X
// display is at hand, the program runs on X11 (through XWayland on a Wayland session), where
// the window manager puts its windows at their designed places and a screen's available area
// leaves out the panels; Wayland lets no program place its windows. Without a usable X display
// Qt goes on to Wayland. Returns whether it chose, so the choice can be withdrawn from the
// environment once the application is made (programs the user starts from ours choose for
// themselves).
bool preferX11WhereAtHand();

// The program's name, its desktop entry, Qt's Japanese translation and the Japanese fonts: what
// the application needs before its first window.
void setUpApplication(QApplication &app);

// The splash, created, shown and completely drawn. main() puts it up before it builds the main
// window, so the user sees the program at once and the window is built while the splash is on
// screen; its hold on closing is not shortened by that.
std::unique_ptr<frmSplash> showSplash(const frmSplash::Clock &clock = frmSplash::steadyClock);

// Everything that happens before the main window is first shown, in this order: the splash
// closed (it holds a little over two seconds), the SPAT4 data-check dialog, the kind captions
// and the availability scan when SPAT4 data are present, "8" in the runner count box with the
// previous-race columns enabled, and the focus on the first box of the grid.
// Returns false when the user chose "キャンセル": the program then ends without the window.
bool Form1_Load(Form1 &window, Module1 &state, const spat4::Spat4Folder &folder,
                std::unique_ptr<frmSplash> splash);
