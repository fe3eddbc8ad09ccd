#pragma once
// Module1: the state the whole program shares, and the procedures of the model
// and view that work on it. Everything runs on the user-interface thread.
#include "model/tables.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace Module1 {

constexpr int pictureWidth = 2000;
constexpr int pictureHeight = 1000;

// --- the shared state ---------------------------------------------------------
extern std::int64_t anzlin;     // number of line records
extern std::int64_t anzpkt;     // number of points
extern Basis basis;             // projection matrix
extern std::int64_t breite;     // drawing area width
extern QString datname;         // name of the model file read last
extern std::int64_t debuglinie; // highlighted line record, 0 for none
extern std::int64_t debugpkt;   // highlighted point, 0 for none
extern std::int64_t hoehe;      // drawing area height
extern bool htmlsave;           // export flag: applet page
extern bool javasave;           // export flag: applet class files
extern LineTable linie;         // line records: point number, colour code
extern std::int64_t mausx;      // last mouse position on the canvas
extern std::int64_t mausy;
extern std::int64_t origx; // where the model origin is drawn
extern std::int64_t origy;
extern PointTable punkt;               // points: x, y, z in columns 1..3
extern Table1<double, 3> rotwinkel;    // 1: tilt, 3: turn (radians)
extern std::unique_ptr<QImage> zebild; // off-screen picture, made by init
extern std::int64_t zoomfaktor;        // pixels per model unit, never below 1

// Every variable back to its start value (done once at start-up; tests use it too).
void resetState();

// --- the hooks into the windows ------------------------------------------------
// The only ways the model reaches a window. The windows fill them in; until then
// (and after resetHooks) they behave like a freshly built main window without a
// debug window: Punkte unticked, Linien and Achsen ticked, the rest does nothing.
struct WindowHooks {
    std::function<bool()> punkteShown;               // CBpunkte ticked
    std::function<bool()> linienShown;               // CBlinien ticked
    std::function<bool()> achsenShown;               // CBachsen ticked
    std::function<void()> invalidateCanvas;          // CAhaupt repaint request
    std::function<void(const QString&)> setZoomText; // EFzoom text
    std::function<void()> closeDebugWindow;          // WINdebug closed (if one is live)
};
WindowHooks& hooks();
void resetHooks();

// --- procedures --------------------------------------------------------------
void init();       // start view: picture, angles, zoom text, matrix, first render
void rotation2();  // projection matrix from the angles and the zoom factor
void datenlesen(); // reads a model file chosen in the open dialog
void zeichnen();   // one render pass into zebild, then the repaint request

} // namespace Module1
