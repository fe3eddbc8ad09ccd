// libFuzzer target: arbitrary bytes as a model file, read by datenlesen and drawn
// by zeichnen at a few views, ordinary and extreme. The toolkit's errors are the
// program's orderly way of refusing input (a model above the capacity, a point
// number outside the tables), so they are caught here; anything else that goes
// wrong (a crash, a sanitizer report, a hang, another exception) is a finding.
#include "model/module1.h"
#include "toolkit/dialogs.h"
#include "toolkit/errors.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>

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

const View* current = &views[0];
QString modelPath;

void installHooks()
{
    auto& h = Module1::hooks();
    h.punkteShown = [] { return current->punkte; };
    h.linienShown = [] { return current->linien; };
    h.achsenShown = [] { return current->achsen; };
}

void runOne(const std::uint8_t* data, std::size_t size)
{
    {
        QFile f(modelPath);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
            std::fprintf(stderr, "fuzz: cannot write %s\n", qPrintable(modelPath));
            std::abort();
        }
    }

    // Every input starts from the same state, so a finding reproduces on its own.
    auto picture = std::move(Module1::zebild);
    Module1::resetState();
    Module1::zebild = std::move(picture);

    try {
        Module1::datenlesen();
    } catch (const toolkit::UnsupportedFormatException&) {
        return;
    }
    // A model was read: the tables' capacity holds.
    if (Module1::anzpkt > Module1::maxPoints || Module1::anzlin > Module1::maxLines)
        std::abort();

    for (const View& v : views) {
        current = &v;
        Module1::rotwinkel(1) = v.tilt;
        Module1::rotwinkel(3) = v.turn;
        Module1::zoomfaktor = v.zoom;
        Module1::origx = v.origx;
        Module1::origy = v.origy;
        Module1::breite = v.breite;
        Module1::hoehe = v.hoehe;
        Module1::debugpkt = v.marks && Module1::anzpkt > 0 ? Module1::anzpkt : 0;
        Module1::debuglinie = v.marks && Module1::anzlin > 0 ? Module1::anzlin : 0;
        try {
            Module1::rotation2();
            Module1::zeichnen();
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
    new QGuiApplication(qtArgc, qtArgv); // lives as long as the process

    static QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    modelPath = dir.filePath(QStringLiteral("fuzz.qel"));
    toolkit::setOpenDialog([] { return std::optional<QString>(modelPath); });

    Module1::init();
    installHooks();
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
