#pragma once
// Opening and closing windows of the window scheme in tests.
#include <QCoreApplication>
#include <QEvent>
#include <QTest>

namespace window_fixture {

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

} // namespace window_fixture
