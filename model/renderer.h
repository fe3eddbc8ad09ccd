#pragma once
// One render pass over explicit inputs: render draws the model into a picture and
// touches nothing else. zeichnen (module1.h) hands it the shared state and then
// asks the canvas to repaint.
#include "model/tables.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>

namespace Module1 {

// What a pass draws: the tables with their counts, and the name that the error of
// a record naming no point gives the model.
struct RenderModel {
    const PointTable& punkt;
    std::int64_t anzpkt;
    const LineTable& linie;
    std::int64_t anzlin;
    const QString& name;
};

// Where it draws: the projection matrix (zoom included), the picture position of
// the model origin, the drawing area that the pass clears, and the zoom factor,
// which sets the axes' length.
struct RenderView {
    const Basis& basis;
    std::int64_t origx, origy;
    std::int64_t breite, hoehe;
    std::int64_t zoomfaktor;
};

// Whether points, the pen path and the axes are shown. Each is asked once per
// pass, when its step begins, so it may answer from the controls of that moment.
struct Visibility {
    std::function<bool()> punkte, linien, achsen;
};

// The highlighted point and line record, 1-based, 0 for none.
struct Marks {
    std::int64_t point = 0;
    std::int64_t line = 0;
};

// The fault of a line record that names a point outside the point table, in one
// sentence: which record of which model names which point, and what is allowed.
// The renderer and the OFF export each add what it means for them.
QString recordNamesNoPoint(std::int64_t record, std::int64_t point, const QString& model);

// Clears the drawing area of `picture`, then draws the points, the highlighted
// point, the pen path, the highlighted line record, the origin dot and the axes, in
// that order. A point number or a mark outside the tables ends the pass with
// OutOfBoundsException; what was drawn before it stays.
void render(QImage& picture, const RenderModel& model, const RenderView& view, const Visibility& shown,
            const Marks& marks);

} // namespace Module1
