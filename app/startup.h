#pragma once
// Start-up, in a fixed order: the shared state has its start values (static
// initialisation, before main); the report and the window hooks are installed;
// early start-up makes the application object with its version data and the menu
// bar and binds the five menu commands; late start-up builds the main window; then
// the event loop runs until the program quits.

namespace qel {

// The process entry: the toolkit, then start-up; returns the exit code.
int processEntry(int argc, char** argv);

// The start-up driver; needs the QApplication. Returns the event loop's exit code,
// or 1 when an error ended start-up before the event loop.
int _Main();

void _EarlyStartup();
void _InitFileTypes();
void _NewAppInstance();
void _ApplicationAddMenuHandlers();
void _LateStartup();
void _MakeDefaultView();

// SIGTERM, SIGINT and SIGHUP end the program through its event loop, as File >
// Quit; a second one while it ends ends it at once.
void installQuitOnSignals();

// Qt's own file dialogs behind the toolkit's dialog functions.
void installQtFileDialogs();

} // namespace qel
