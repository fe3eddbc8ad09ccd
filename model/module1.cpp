#include "model/module1.h"

namespace Module1 {

// The start values are set in one place, resetState, which runs once before main
// (startValues below) and again whenever a test asks for a fresh start.
std::int64_t anzlin;
std::int64_t anzpkt;
Basis basis("basis");
std::int64_t breite;
QString datname;
std::int64_t debuglinie;
std::int64_t debugpkt;
std::int64_t hoehe;
bool htmlsave;
bool javasave;
LineTable linie("linie");
std::int64_t mausx;
std::int64_t mausy;
std::int64_t origx;
std::int64_t origy;
PointTable punkt("punkt");
Table1<double, 3> rotwinkel("rotwinkel");
std::unique_ptr<QImage> zebild;
std::int64_t zoomfaktor;

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

// Defined after every variable above, so each of them is built before it runs.
[[maybe_unused]] const bool startValues = (resetState(), true);

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
