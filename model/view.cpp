#include "model/module1.h"

#include "toolkit/numeric.h"

#include <cmath>
#include <cstdlib>

namespace Module1 {

namespace {

// RGB32 keeps every colour of the renderer's table exact. The pixels come from
// calloc, so the picture starts black without touching its 8 MB at start-up:
// the system hands out zeroed pages only when a pass first draws on them.
std::unique_ptr<QImage> makePicture()
{
    constexpr qsizetype bytesPerLine = qsizetype(pictureWidth) * 4;
    void* pixels = std::calloc(std::size_t(bytesPerLine) * pictureHeight, 1);
    if (!pixels)
        throw toolkit::NilObjectException("Cannot make the off-screen picture of 2000 x 1000 pixels");
    auto picture = std::make_unique<QImage>(
        static_cast<uchar*>(pixels), pictureWidth, pictureHeight, bytesPerLine, QImage::Format_RGB32,
        [](void* p) { std::free(p); }, pixels);
    if (picture->isNull()) {
        std::free(pixels);
        throw toolkit::NilObjectException("Cannot make the off-screen picture of 2000 x 1000 pixels");
    }
    return picture;
}

} // namespace

void init()
{
    zebild = makePicture();
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
