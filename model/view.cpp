#include "model/module1.h"

#include "toolkit/numeric.h"

#include <cmath>

namespace Module1 {

void init()
{
    // RGB32 keeps every colour of the renderer's table exact.
    zebild = std::make_unique<QImage>(pictureWidth, pictureHeight, QImage::Format_RGB32);
    if (zebild->isNull())
        throw toolkit::NilObjectException("Cannot make the off-screen picture of 2000 x 1000 pixels");
    zebild->fill(Qt::black);
    rotwinkel(1) = 0.3925;
    rotwinkel(3) = -0.785;
    hooks().setZoomText(toolkit::Str(zoomfaktor));
    rotation2();
    zeichnen();
}

void rotation2()
{
    const double s = static_cast<double>(zoomfaktor);
    double phi = rotwinkel(1);
    const double m = (-std::sin(phi)) * s;
    basis(1, 1) = std::cos(rotwinkel(3)) * s;
    basis(1, 2) = std::sin(rotwinkel(3)) * m;
    basis(2, 1) = (-std::sin(rotwinkel(3))) * s;
    basis(2, 2) = std::cos(rotwinkel(3)) * m;
    basis(3, 1) = 0.0;
    phi = rotwinkel(1);
    basis(3, 2) = (-std::cos(phi)) * s;
}

} // namespace Module1
