// Filling the debug window's two lists for the largest model: 3000 points and
// 3000 line records.
#include "bench/bench.h"

#include "model/module1.h"
#include "windows/WINdebug.h"
#include "windows/WINhaupt.h"

#include <QApplication>

using namespace Module1;

QEL_BENCH(debug)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return; // the windows need a widget application
    resetState();
    resetHooks();
    for (std::int64_t i = 1; i <= 3000; ++i) {
        punkt(i, 1) = static_cast<double>(i) / 7.0;
        punkt(i, 2) = -static_cast<double>(i) * 0.3;
        punkt(i, 3) = 1e-3 * static_cast<double>(i * i);
        linie(i, 1) = i;
        linie(i, 2) = i % 16;
    }
    anzpkt = 3000;
    anzlin = 3000;
    ::WINhaupt(); // the debug window takes its top from the main window

    // Opening: build the window, fill it while it is still hidden, place it.
    figure("debug_open_ms", qelbench::medianMs(11, [] {
               ::WINdebug();
               ::WINdebug()->Close();
           }));

    // Filling the lists of an open, visible window (the lists' views update too).
    ::WINdebug()->Show();
    QCoreApplication::processEvents();
    figure("debug_fill_ms", qelbench::medianMs(21, [] { debugzeigen(); }));

    ::WINdebug()->Close();
    if (auto* main = qel::WINhaupt::liveWindow())
        main->close();
    QCoreApplication::processEvents();
    resetState();
}
