#include "windows/hooks.h"

#include "model/module1.h"
#include "windows/Canvas.h"
#include "windows/WINdebug.h"
#include "windows/WINhaupt.h"

#include <QCheckBox>
#include <QLineEdit>

namespace qel {

void installWindowHooks()
{
    Module1::WindowHooks& h = Module1::hooks();
    h.punkteShown = [] { return ::WINhaupt()->CBpunkte()->isChecked(); };
    h.linienShown = [] { return ::WINhaupt()->CBlinien()->isChecked(); };
    h.achsenShown = [] { return ::WINhaupt()->CBachsen()->isChecked(); };
    h.invalidateCanvas = [] { ::WINhaupt()->CAhaupt()->update(); };
    h.setZoomText = [](const QString& text) { ::WINhaupt()->EFzoom()->setText(text); };
    // Building a debug window only to close it again would show nothing new: the
    // reader clears the marks and its caller renders anyway.
    h.closeDebugWindow = [] {
        if (WINdebug* w = WINdebug::liveWindow())
            w->Close();
    };
}

} // namespace qel
