// The OFF+ export with both boxes ticked: the OFF file of a 3000-point model, the
// page and the four class files, each replacing the file of the run before. Every
// file is synced to the disk, so the figure is mostly the file system's.
#include "bench/bench.h"

#include "export/export.h"
#include "model/module1.h"
#include "toolkit/dialogs.h"

#include <QFileInfo>

#include <cstdio>

using namespace Module1;

QEL_BENCH(export)
{
    resetState();
    resetHooks();
    datname = QStringLiteral("dense.qel");
    anzpkt = 3000;
    anzlin = 3000;
    for (std::int64_t k = 1; k <= 3000; ++k) {
        punkt(k, 1) = double(k) * 0.37;
        punkt(k, 2) = -double(k) / 7;
        punkt(k, 3) = double(k % 97) * 1e-3;
        linie(k, 1) = k;
        linie(k, 2) = k % 16;
    }
    const QString path = qelbench::scratchDir() + "/dense.off";
    toolkit::setSaveDialog([path](const QString&) { return std::optional<QString>(path); });
    htmlsave = true;
    javasave = true;
    saveoff(); // the files exist from here on: every timed run replaces them
    figure("export_offplus_ms", qelbench::medianMs(21, [] { saveoff(); }));
    htmlsave = false;
    javasave = false;
    toolkit::resetDialogs();
    if (QFileInfo(path).size() < 100000)
        std::fprintf(stderr, "qel-bench: the OFF file is not whole (%lld bytes)\n",
                     static_cast<long long>(QFileInfo(path).size()));
}
