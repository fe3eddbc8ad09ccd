#pragma once

namespace qel {

// Fills the model's window hooks with the real controls: the three visibility
// check boxes, the canvas's repaint request and the zoom field of the main window
// (each reached through its accessor at the moment of the call), and the closing
// of a live debug window.
void installWindowHooks();

} // namespace qel
