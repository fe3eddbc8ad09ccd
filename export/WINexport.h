#pragma once
#include "windows/scheme.h"

namespace qel {

// Placeholder until this window is built.
class WINexport : public Window<WINexport> {
public:
    WINexport() = default;

protected:
    void Layout() override { setWindowTitle(QStringLiteral("OFF+ Export")); }
    void _CreateControls0() override {}
};

} // namespace qel

inline qel::WINexport* WINexport() { return qel::WINexport::accessor(); }
