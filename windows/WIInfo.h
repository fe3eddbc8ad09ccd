#pragma once
#include "windows/scheme.h"

namespace qel {

// Placeholder until this window is built.
class WIInfo : public Window<WIInfo> {
public:
    WIInfo() = default;

protected:
    void Layout() override { setWindowTitle(QStringLiteral("WIInfo")); }
    void _CreateControls0() override {}
};

} // namespace qel

inline qel::WIInfo* WIInfo() { return qel::WIInfo::accessor(); }
