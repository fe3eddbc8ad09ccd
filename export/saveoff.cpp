// The OFF export: every point as a vertex, every drawn step of the pen path from
// the second record on as a coloured two-vertex face.
#include "export/export.h"

#include "model/module1.h"
#include "toolkit/dialogs.h"
#include "toolkit/numeric.h"
#include "toolkit/textout.h"

#include <QFileInfo>

namespace Module1 {

namespace {

using toolkit::Str;

const QString crlf = QStringLiteral("\r\n");

// 0.5 when bit m of the code is set, plus w (0.5 for the brightness bit); so 0, 0.5 or 1.
double offComponent(std::int64_t code, std::int64_t m, double w)
{
    return static_cast<double>(code & m) / static_cast<double>(m) * 0.5 + w;
}

// The 0-based vertex index of a point number. Point numbers come straight from the
// model file, so wrap like the program's 64-bit arithmetic instead of overflowing.
std::int64_t vertexIndex(std::int64_t pointNumber)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(pointNumber) - 1u);
}

} // namespace

void saveoff()
{
    // The proposed name: the model file's name up to its first ".", then ".off".
    const qsizetype p = datname.indexOf(QLatin1Char('.')) + 1;
    const QString base = p > 0 ? datname.left(p - 1) : datname;
    const std::optional<QString> chosen = toolkit::GetSaveFolderItem(base + QStringLiteral(".off"));
    if (!chosen)
        return;

    const QString path = *chosen;
    const QString name = QFileInfo(path).fileName();
    const QString folder = path.left(path.size() - name.size());
    // Before anything is written: the page must be able to name the OFF file.
    if (htmlsave)
        checkPageCanName(path);

    auto out = toolkit::TextOutputStream::CreateTextFile(path);
    out->Delimiter = crlf;
    out->WriteLine(QStringLiteral("OFF"));

    std::int64_t f = 0;
    for (std::int64_t j = 2; j <= anzlin; ++j) {
        if (linie(j, 2) > 0)
            ++f;
    }
    out->WriteLine(Str(anzpkt) + QStringLiteral(" ") + Str(f) + QStringLiteral(" 99"));

    for (std::int64_t k = 1; k <= anzpkt; ++k) {
        out->WriteLine(Str(punkt(k, 1)) + QLatin1Char(' ') + Str(punkt(k, 2)) + QLatin1Char(' ') + Str(punkt(k, 3)));
    }

    for (std::int64_t j = 2; j <= anzlin; ++j) {
        const std::int64_t c = linie(j, 2);
        if (c <= 0)
            continue; // pen up or negative: not exported, but the next face starts here
        const double w = offComponent(c, 8, 0.0);
        out->WriteLine(QStringLiteral("2 ") + Str(vertexIndex(linie(j - 1, 1))) + QLatin1Char(' ')
                       + Str(vertexIndex(linie(j, 1))) + QLatin1Char(' ') + Str(offComponent(c, 4, w))
                       + QLatin1Char(' ') + Str(offComponent(c, 2, w)) + QLatin1Char(' ') + Str(offComponent(c, 1, w)));
    }

    // The OFF file is whole and in place before the page and the class files are
    // begun: a failure there cannot cost it.
    out->commit();

    if (htmlsave)
        saveHTML(folder, name);
    if (javasave)
        savejava(folder);
}

} // namespace Module1
