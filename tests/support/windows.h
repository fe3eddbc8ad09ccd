#pragma once
// Windows of the window scheme in tests: opening one, and closing every live
// window, with the seams reset, when a test ends.
#include "tests/support/seams.h"
#include "windows/WIInfo.h"
#include "windows/WINdebug.h"
#include "windows/WINexport.h"
#include "windows/WINhaupt.h"
#include "windows/hooks.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QTest>

#include <exception>
#include <functional>

namespace support {

// The live window of W (built if need be), shown and on screen.
template <class W>
W* openShown()
{
    W* w = W::accessor();
    w->Show();
    if (!QTest::qWaitForWindowExposed(w))
        qFatal("window not exposed");
    return w;
}

// Closes W's live window, if any, and lets Qt delete it.
template <class W>
void closeIfLive()
{
    if (auto* w = W::liveWindow())
        w->Close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A fresh main window from the start values with the real window hooks, shown and
// on screen. `adjust` may change the hooks before the window is built and renders.
inline qel::WINhaupt* openMainWindow(const std::function<void(Module1::WindowHooks&)>& adjust = {})
{
    Module1::resetState();
    qel::installWindowHooks();
    if (adjust)
        adjust(Module1::hooks());
    qel::WINhaupt* w = ::WINhaupt();
    w->show();
    if (!QTest::qWaitForWindowExposed(w))
        qWarning("main window not exposed");
    return w;
}

namespace detail {
template <class W>
void closeLive()
{
    W* w = W::liveWindow();
    if (!w)
        return;
    try {
        w->Close();
    } catch (const std::exception& e) {
        QTest::qFail(QByteArray("closing a window raised: ").append(e.what()).constData(), __FILE__, __LINE__);
    } catch (...) {
        QTest::qFail("closing a window raised an error of no known type", __FILE__, __LINE__);
    }
}
} // namespace detail

// Closes every live window and lets Qt delete them: the debug window first, whose
// close redraws the model in the main window, the main window last. A close
// handler that raises an error fails the test.
inline void closeWindows()
{
    detail::closeLive<qel::WINdebug>();
    detail::closeLive<qel::WIInfo>();
    detail::closeLive<qel::WINexport>();
    detail::closeLive<qel::WINhaupt>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What a window test calls when it ends: no window is left, and every seam is back
// as the program starts (seams.h).
inline void resetSeamsAndWindows()
{
    closeWindows();
    resetSeams();
}

} // namespace support
