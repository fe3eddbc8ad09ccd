#include "model/module1.h"

namespace Module1 {

std::int64_t anzlin = 0;
std::int64_t anzpkt = 0;
Basis basis("basis");
std::int64_t breite = 400;
QString datname = QStringLiteral("3D");
std::int64_t debuglinie = 0;
std::int64_t debugpkt = 0;
std::int64_t hoehe = 400;
bool htmlsave = false;
bool javasave = false;
LineTable linie("linie");
std::int64_t mausx = 0;
std::int64_t mausy = 0;
std::int64_t origx = 200;
std::int64_t origy = 200;
PointTable punkt("punkt");
Table1<double, 3> rotwinkel("rotwinkel");
std::unique_ptr<QImage> zebild;
std::int64_t zoomfaktor = 10;

void outOfBounds(const char* table, std::int64_t row, std::int64_t col, std::int64_t lastRow, std::int64_t lastCol)
{
    std::string msg = "Out of bounds: ";
    msg += table;
    msg += "(" + std::to_string(row);
    if (col >= 0 || lastCol >= 0)
        msg += ", " + std::to_string(col);
    msg += ") lies outside (0.." + std::to_string(lastRow);
    if (lastCol >= 0)
        msg += ", 0.." + std::to_string(lastCol);
    msg += ")";
    throw toolkit::OutOfBoundsException(msg);
}

void rowOutOfBounds(const char* table, std::int64_t row, std::int64_t lastRow)
{
    throw toolkit::OutOfBoundsException("Out of bounds: row " + std::to_string(row) + " of " + table
                                        + " lies outside 0.." + std::to_string(lastRow));
}

void resetState()
{
    anzlin = 0;
    anzpkt = 0;
    basis.clear();
    breite = 400;
    datname = QStringLiteral("3D");
    debuglinie = 0;
    debugpkt = 0;
    hoehe = 400;
    htmlsave = false;
    javasave = false;
    linie.clear();
    mausx = 0;
    mausy = 0;
    origx = 200;
    origy = 200;
    punkt.clear();
    rotwinkel.clear();
    zebild.reset();
    zoomfaktor = 10;
}

namespace {
WindowHooks defaultHooks()
{
    WindowHooks h;
    h.punkteShown = [] { return false; };
    h.linienShown = [] { return true; };
    h.achsenShown = [] { return true; };
    h.invalidateCanvas = [] {};
    h.setZoomText = [](const QString&) {};
    h.closeDebugWindow = [] {};
    return h;
}
} // namespace

WindowHooks& hooks()
{
    static WindowHooks h = defaultHooks();
    return h;
}

void resetHooks() { hooks() = defaultHooks(); }

} // namespace Module1
