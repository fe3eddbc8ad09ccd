#pragma once
// The program as start-up and its report leave it, undone when an app test ends.
#include "app/App.h"
#include "app/report_gui.h"
#include "tests/support/modal.h"
#include "tests/support/windows.h"

#include <QMessageBox>
#include <QTest>

namespace support {

// What an app test calls when it ends: a report box still waiting or open is
// answered (it would open in the next test and wait there for ever), an application
// object that start-up made is deleted, every window is closed and every seam reset.
inline void resetProgram()
{
    if (qel::reportBoxPending()) {
        ModalAnswerer ok([](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                box->accept();
        });
        if (!QTest::qWaitFor([] { return !qel::reportBoxPending(); }, 5000))
            QTest::qFail("the report box did not close", __FILE__, __LINE__);
    }
    delete dynamic_cast<qel::App*>(toolkit::_GetAppObject());
    toolkit::_RuntimeRegisterAppObject(nullptr);
    resetSeamsAndWindows();
}

} // namespace support
