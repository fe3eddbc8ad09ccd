#pragma once
// Which of the program's windows the person used last, and the focus given back
// when the window holding it closes. A window manager gives the focus to another
// window when the focused one goes; without one, nothing does, and keys typed
// after a dialog closed would reach no window of the program. So when a window
// that holds the focus is hidden, the program activates the window used before
// it, as a window manager would.
#include <QWidget>

namespace qel {

// Follows the focus from now on; a second call changes nothing.
void installWindowFocus();

// The shown window used last, other than `except`: modal dialogs and popups do
// not count. Nullptr when there is none.
QWidget* lastUsedWindow(const QWidget* except = nullptr);

} // namespace qel
