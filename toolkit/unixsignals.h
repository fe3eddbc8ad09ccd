#pragma once
// Unix signals that end the program through its event loop. The signal handler does
// nothing but write the signal's number into a socket pair; a socket notifier reads
// it in whichever event loop runs (the main one, or the nested one of a modal
// dialog) and calls the program's quit there, inside the error guard. So a handler
// that runs when the signal comes (an export in the middle of its sync) finishes as
// usual before the program ends.
//
// Once one of the signals has come, a second one ends the process at once: the
// handler puts back the signal's default action and raises it again, so the process
// ends killed by that signal, as it would without a handler.
#include <functional>
#include <initializer_list>

namespace toolkit {

// Installs the handler for each of the signals, once per process; needs the
// application object. A signal the process was started with ignored (as by nohup)
// stays ignored. The quit gets the number of the first signal that came.
void quitOnSignals(std::initializer_list<int> signalNumbers, std::function<void(int signalNumber)> quit);

} // namespace toolkit
