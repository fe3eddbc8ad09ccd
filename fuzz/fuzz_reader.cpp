// libFuzzer target: arbitrary bytes as the text of a model file, parsed and then
// drawn at a few views, ordinary and extreme; no file and no dialog is involved.
// The toolkit's errors are the program's orderly way of refusing input (a model
// above the capacity, a point number outside the tables), so they are caught here;
// anything else that goes wrong (a crash, a sanitizer report, a hang, another
// exception) is a finding.
#include "model/module1.h"
#include "model/reader.h"
#include "model/renderer.h"
#include "toolkit/errors.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string_view>

namespace {

struct View {
    double tilt, turn;
    std::int64_t zoom, origx, origy, breite, hoehe;
    bool punkte, linien, achsen, marks;
};

// Most views keep the smallest drawing area the main window allows: clearing it
// costs more than the rest of a pass and finds nothing.
constexpr View views[] = {
    // the start view
    {0.3925, -0.785, 10, 200, 200, 400, 400, false, true, true, false},
    // everything shown, both marks set
    {0.0, 0.0, 1, 0, 0, 400, 400, true, true, true, true},
    // upside down, origin far off the picture, the tallest drawing area
    {3.14, 1.0, 100000, -5000, 5000, 401, 865, true, true, false, true},
    // extreme: angles never reduced, a huge zoom, the origin far away
    {1e10, -1e300, std::int64_t(1) << 40, 1000000000, -1000000000, 400, 400, true, true, true, true},
    {-1e-300, 7.5, std::numeric_limits<std::int64_t>::max() / 2, -3, 3, 400, 400, true, true, true, true},
};

const QString modelName = QStringLiteral("fuzz.qel");

struct Tables {
    Module1::PointTable punkt{"punkt"};
    Module1::LineTable linie{"linie"};
};
Tables* tables = nullptr;
QImage* picture = nullptr;

void runOne(const std::uint8_t* data, std::size_t size)
{
    Module1::ParsedModel m;
    try {
        m = Module1::parseModel(std::string_view(reinterpret_cast<const char*>(data), size), modelName);
    } catch (const toolkit::UnsupportedFormatException&) {
        return;
    }
    // A model was parsed: the tables' capacity holds, and there is a row for every
    // point and record counted.
    const auto rows = [](std::int64_t count) { return static_cast<std::size_t>(count > 0 ? count : 0); };
    if (m.pointCount > Module1::maxPoints || m.lineCount > Module1::maxLines || m.points.size() != rows(m.pointCount)
        || m.lines.size() != rows(m.lineCount))
        std::abort();

    // Storing leaves nothing of the previous input in the tables, so a finding
    // reproduces on its own.
    Module1::storeRows(m, tables->punkt, tables->linie);

    for (const View& v : views) {
        Module1::rotwinkel(1) = v.tilt;
        Module1::rotwinkel(3) = v.turn;
        Module1::zoomfaktor = v.zoom;
        Module1::rotation2();
        const Module1::Marks marks{v.marks && m.pointCount > 0 ? m.pointCount : 0,
                                   v.marks && m.lineCount > 0 ? m.lineCount : 0};
        try {
            Module1::render(*picture, {tables->punkt, m.pointCount, tables->linie, m.lineCount, modelName},
                            {Module1::basis, v.origx, v.origy, v.breite, v.hoehe, v.zoom},
                            {.punkte = [&v] { return v.punkte; },
                             .linien = [&v] { return v.linien; },
                             .achsen = [&v] { return v.achsen; }},
                            marks);
        } catch (const toolkit::RuntimeException&) {
            // an orderly end of the pass (a point number outside the tables)
        }
    }
}

} // namespace

// fontconfig keeps its caches until exit and never frees some of them; that is
// not ours to find.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    (void)argc;
    (void)argv;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char name[] = "qel-fuzz-reader";
    static char* qtArgv[] = {name, nullptr};
    new QGuiApplication(qtArgc, qtArgv); // lives as long as the process, as do the two below

    tables = new Tables;
    picture = new QImage(Module1::pictureWidth, Module1::pictureHeight, QImage::Format_RGB32);
    if (picture->isNull())
        std::abort();
    // One full pass first, so the font and raster caches that the first text and
    // line build are not taken for leaks of the first input.
    static const char warmUp[] = "2\n1 2 3\n-1 0 2\n3\n1 15\n2 9\n0 0\n";
    runOne(reinterpret_cast<const std::uint8_t*>(warmUp), sizeof warmUp - 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    runOne(data, size);
    return 0;
}
