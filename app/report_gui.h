#pragma once
// The report of unhandled errors while the program runs: one line on standard
// error, and the error's message in a message box. The box opens from the event
// loop after the failed handler has returned (never inside a paint event), and
// only one is shown at a time: errors that come while one is waiting or open go
// to standard error only. The program goes on after the box is closed.
//
// The box is a warning titled with the program's name (yet not with the main
// window's title, by which scripts find that window), modal to the window the
// person was using (the active window, else the one used last, else the main
// window) and centred over it; the one used last is known once installWindowFocus
// has run (window_focus.h).
#include <QString>

namespace qel {

void installGuiReport();

// The report itself (installGuiReport hands it to the toolkit).
void guiReport(const QString& message);

// Shows a box that is still waiting, at once (for an error that ends start-up,
// when no event loop will run to show it).
void showPendingReportNow();

// True while a box is waiting or open.
bool reportBoxPending();

} // namespace qel
