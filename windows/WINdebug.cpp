#include "windows/WINdebug.h"

#include "model/module1.h"
#include "windows/WINhaupt.h"

namespace qel {

void WINdebug::Layout()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(399, 435);
    setWindowTitle(QStringLiteral("Debug"));
}

void WINdebug::_CreateControls0()
{
    auto* punkte = new Listbox(this);
    punkte->setObjectName(QStringLiteral("LBpunkte"));
    punkte->setGeometry(20, 38, 197, 377);
    punkte->setColumnCount(4);
    // Point numbers as wide as they need, the coordinates share the rest.
    punkte->setColumnWidthMode(0, Listbox::ColumnWidth::Fit);
    LBpunkte()->setCellClick([this](Listbox* l, std::int64_t r, std::int64_t c, std::int64_t x, std::int64_t y) {
        return LBpunkte_CellClick(l, r, c, x, y);
    });

    auto* caption1 = new QLabel(this);
    caption1->setObjectName(QStringLiteral("StaticText1"));
    caption1->setGeometry(254, 6, 100, 20);
    caption1->setText(QStringLiteral("Linien"));

    auto* linien = new Listbox(this);
    linien->setObjectName(QStringLiteral("LBlinien"));
    linien->setGeometry(229, 38, 150, 377);
    linien->setColumnCount(3);
    for (std::int64_t c = 0; c < 3; ++c)
        linien->setColumnWidthMode(c, Listbox::ColumnWidth::Fit);
    LBlinien()->setCellClick([this](Listbox* l, std::int64_t r, std::int64_t c, std::int64_t x, std::int64_t y) {
        return LBlinien_CellClick(l, r, c, x, y);
    });

    auto* caption2 = new QLabel(this);
    caption2->setObjectName(QStringLiteral("StaticText2"));
    caption2->setGeometry(53, 6, 100, 20);
    caption2->setText(QStringLiteral("Punkte"));
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
