#pragma once
#include "windows/scheme.h"

namespace qel {

// Placeholder until this window is built.
class WINdebug : public Window<WINdebug> {
public:
    WINdebug() = default;

protected:
    void Layout() override { setWindowTitle(QStringLiteral("WINdebug")); }
    void _CreateControls0() override {}
};

} // namespace qel

inline qel::WINdebug* WINdebug() { return qel::WINdebug::accessor(); }
