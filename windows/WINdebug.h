#pragma once
// The debug window: every point and every line record of the model as a row of
// text. A click on a row highlights that point or pen-path step in the main window;
// closing the window clears both highlights.
#include "windows/Listbox.h"
#include "windows/scheme.h"

#include <QLabel>
#include <cstdint>

namespace qel {

class WINdebug : public Window<WINdebug> {
    Q_OBJECT

public:
    WINdebug() = default;

    Listbox* LBpunkte() const { return control<Listbox>(QStringLiteral("LBpunkte")); }
    QLabel* StaticText1() const { return control<QLabel>(QStringLiteral("StaticText1")); }
    Listbox* LBlinien() const { return control<Listbox>(QStringLiteral("LBlinien")); }
    QLabel* StaticText2() const { return control<QLabel>(QStringLiteral("StaticText2")); }

protected:
    void Layout() override;
    void _CreateControls0() override;

    bool LBpunkte_CellClick(Listbox* list, std::int64_t row, std::int64_t column, std::int64_t x, std::int64_t y);
    bool LBlinien_CellClick(Listbox* list, std::int64_t row, std::int64_t column, std::int64_t x, std::int64_t y);

    void Event_Open() override;
    void Event_Close() override;
};

} // namespace qel

inline qel::WINdebug* WINdebug() { return qel::WINdebug::accessor(); }

namespace Module1 {
// Fills both lists of the live debug window from the model tables.
void debugzeigen();
} // namespace Module1
