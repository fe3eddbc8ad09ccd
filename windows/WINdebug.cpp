#include "windows/WINdebug.h"

#include "model/module1.h"
#include "windows/WINhaupt.h"

namespace qel {

void WINdebug::Layout()
{
    setFixedFrame(399, 435);
    setWindowTitle(QStringLiteral("Debug"));
}

void WINdebug::_CreateControls0()
{
    auto* punkte = makeControl<Listbox>(this, QStringLiteral("LBpunkte"), {20, 38, 197, 377});
    punkte->setColumnCount(4);
    // Point numbers as wide as they need, the coordinates share the rest.
    punkte->setColumnWidthMode(0, Listbox::ColumnWidth::Fit);
    bind(punkte, &Listbox::CellClick, &WINdebug::LBpunkte_CellClick);

    auto* linienCaption = makeControl<QLabel>(this, QStringLiteral("StaticText1"), {254, 6, 100, 20});
    linienCaption->setText(QStringLiteral("Linien"));

    auto* linien = makeControl<Listbox>(this, QStringLiteral("LBlinien"), {229, 38, 150, 377});
    linien->setColumnCount(3);
    for (std::int64_t c = 0; c < 3; ++c)
        linien->setColumnWidthMode(c, Listbox::ColumnWidth::Fit);
    bind(linien, &Listbox::CellClick, &WINdebug::LBlinien_CellClick);

    auto* punkteCaption = makeControl<QLabel>(this, QStringLiteral("StaticText2"), {53, 6, 100, 20});
    punkteCaption->setText(QStringLiteral("Punkte"));
}

// Row r shows point r + 1 and line record r + 1: rows are added in number order
// and never reordered.
bool WINdebug::LBpunkte_CellClick(Listbox*, std::int64_t row, std::int64_t, std::int64_t, std::int64_t)
{
    Module1::debugpkt = row + 1;
    Module1::zeichnen();
    return false;
}

bool WINdebug::LBlinien_CellClick(Listbox*, std::int64_t row, std::int64_t, std::int64_t, std::int64_t)
{
    Module1::debuglinie = row + 1;
    Module1::zeichnen();
    return false;
}

void WINdebug::Event_Open()
{
    Module1::debugzeigen();
    // Both positions are frame positions (pos()), for this window and the main one.
    move(600, pos().y());
    move(pos().x(), ::WINhaupt()->pos().y());
}

void WINdebug::Event_Close()
{
    Module1::debugpkt = 0;
    Module1::debuglinie = 0;
    // At quit the main window may already be gone: nothing is left to redraw.
    if (WINhaupt::liveWindow())
        Module1::zeichnen();
}

} // namespace qel
