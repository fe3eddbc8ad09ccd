// The OFF export: every point as a vertex, every drawn step of the pen path from
// the second record on as a coloured two-vertex face.
#include "export/export.h"

#include "model/module1.h"
#include "model/renderer.h"
#include "toolkit/dialogs.h"
#include "toolkit/errors.h"
#include "toolkit/numeric.h"
#include "toolkit/textout.h"

#include <QFileInfo>

namespace Module1 {

namespace {

using toolkit::Str;

// 0.5 when bit m of the code is set, plus w (0.5 for the brightness bit); so 0, 0.5 or 1.
double offComponent(std::int64_t code, std::int64_t m, double w)
{
    return static_cast<double>(code & m) / static_cast<double>(m) * 0.5 + w;
}

// A model whose pen path names a point the table has not cannot be drawn, so it
// is not exported either: refused before the save dialog, so nothing is asked for
// and nothing is written.
void refuseRecordsNamingNoPoint()
{
    for (std::int64_t j = 1; j <= anzlin; ++j) {
        const std::int64_t n = linie(j, 1);
        if (n < 0 || n > PointTable::lastRow)
            throw toolkit::UnsupportedFormatException(
                (recordNamesNoPoint(j, n, datname)
                 + QStringLiteral(" The model cannot be exported; nothing was written."))
                    .toStdString());
    }
}

// The vertices of the file: the model's points, and after them the model origin
// when a face needs it. A step to point 0 or to a point above the count is drawn
// at the origin (those rows hold zeros), so its face names the origin vertex.
class Vertices {
public:
    Vertices() : points_(anzpkt > 0 ? anzpkt : 0) {}

    std::int64_t points() const { return points_; }
    std::int64_t count() const { return points_ + (originUsed_ ? 1 : 0); }
    bool originUsed() const { return originUsed_; }

    // The 0-based vertex of a point number; marks the origin vertex as used.
    std::int64_t of(std::int64_t pointNumber)
    {
        if (pointNumber >= 1 && pointNumber <= points_)
            return pointNumber - 1;
        originUsed_ = true;
        return points_;
    }

private:
    std::int64_t points_;
    bool originUsed_ = false;
};

} // namespace

void saveoff()
{
    refuseRecordsNamingNoPoint();

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

    // The faces first: they decide whether the origin is a vertex of the file.
    Vertices vertices;
    QStringList faces;
    for (std::int64_t j = 2; j <= anzlin; ++j) {
        const std::int64_t c = linie(j, 2);
        if (c <= 0)
            continue; // pen up or negative: not exported, but the next face starts here
        const double w = offComponent(c, 8, 0.0);
        const std::int64_t a = vertices.of(linie(j - 1, 1));
        const std::int64_t b = vertices.of(linie(j, 1));
        faces << QStringLiteral("2 ") + Str(a) + QLatin1Char(' ') + Str(b) + QLatin1Char(' ')
                + Str(offComponent(c, 4, w)) + QLatin1Char(' ') + Str(offComponent(c, 2, w)) + QLatin1Char(' ')
                + Str(offComponent(c, 1, w));
    }

    auto out = toolkit::TextOutputStream::CreateTextFile(path);
    out->Delimiter = toolkit::windowsLineEnd;
    out->WriteLine(QStringLiteral("OFF"));
    out->WriteLine(Str(vertices.count()) + QLatin1Char(' ') + Str(std::int64_t(faces.size())) + QStringLiteral(" 99"));
    for (std::int64_t k = 1; k <= vertices.points(); ++k) {
        out->WriteLine(Str(punkt(k, 1)) + QLatin1Char(' ') + Str(punkt(k, 2)) + QLatin1Char(' ') + Str(punkt(k, 3)));
    }
    if (vertices.originUsed())
        out->WriteLine(Str(punkt(0, 1)) + QLatin1Char(' ') + Str(punkt(0, 2)) + QLatin1Char(' ') + Str(punkt(0, 3)));
    for (const QString& face : faces)
        out->WriteLine(face);

    // The OFF file is whole and in place before the page and the class files are
    // begun: a failure there cannot cost it.
    out->commit();

    if (htmlsave)
        saveHTML(folder, name);
    if (javasave)
        savejava(folder);
}

} // namespace Module1
