// Draws the program's two logos and writes them as JPEG files:
//   Qellogo160.jpg      160 x 160  product logo: a wire-frame cube over the word "Qel"
//   Pellucor-100px.jpg  100 x 50   maker's word mark "Pellucor"
// Usage: qel-make-logos <output folder>. Run it with QT_QPA_PLATFORM=offscreen
// where there is no display. The output is committed under resources/logos/.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QTextStream>
#include <array>
#include <cmath>

namespace {

// Screen colours of some of the viewer's colour codes, so the logo looks like a model.
const QColor kRed(150, 0, 0), kGreen(0, 150, 0), kBlue(0, 0, 150), kCyan(0, 150, 150), kYellow(255, 255, 105),
    kMagenta(150, 0, 150), kGrey(105, 105, 105);

QPointF project(double x, double y, double z, double scale, QPointF origin)
{
    // The viewer's start view: turned by -0.785 about z, tilted by 0.3925.
    const double turn = -0.785, tilt = 0.3925;
    const double xr = x * std::cos(turn) - y * std::sin(turn);
    const double yr = x * std::sin(turn) + y * std::cos(turn);
    const double sx = xr;
    const double sy = -(z * std::cos(tilt) - yr * std::sin(tilt));
    return origin + QPointF(sx * scale, sy * scale);
}

QImage drawQellogo()
{
    QImage img(160, 160, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // A soft round backdrop.
    QRadialGradient glow(QPointF(80, 62), 64);
    glow.setColorAt(0, QColor(225, 238, 255));
    glow.setColorAt(1, Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(80, 62), 64, 64);

    // Cube corners, edges and their colours.
    const std::array<std::array<double, 3>, 8> c = {
        {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}};
    struct Edge {
        int a, b;
        QColor colour;
    };
    const Edge edges[] = {{0, 1, kRed},   {1, 2, kRed},   {2, 3, kRed},  {3, 0, kRed},
                          {4, 5, kBlue},  {5, 6, kBlue},  {6, 7, kBlue}, {7, 4, kBlue},
                          {0, 4, kGreen}, {1, 5, kGreen}, {2, 6, kCyan}, {3, 7, kMagenta}};
    const QPointF origin(80, 64);
    const double scale = 30;
    for (const Edge& e : edges) {
        p.setPen(QPen(e.colour, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(project(c[e.a][0], c[e.a][1], c[e.a][2], scale, origin),
                   project(c[e.b][0], c[e.b][1], c[e.b][2], scale, origin));
    }
    // A diagonal pen-path step, as the viewer highlights one.
    p.setPen(QPen(QColor(0, 255, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(project(-1, -1, -1, scale, origin), project(1, 1, 1, scale, origin));
    // The points as small discs.
    p.setPen(Qt::NoPen);
    p.setBrush(kGrey);
    for (const auto& v : c)
        p.drawEllipse(project(v[0], v[1], v[2], scale, origin), 3.2, 3.2);

    // The word.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(34);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(20, 40, 110));
    p.drawText(QRectF(0, 116, 160, 40), Qt::AlignCenter, QStringLiteral("Qel"));
    p.setPen(QPen(kYellow.darker(140), 2));
    p.drawLine(QPointF(44, 152), QPointF(116, 152));
    p.end();
    return img;
}

QImage drawPellucor()
{
    QImage img(100, 50, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // A lens: two arcs, light passing through it.
    QPainterPath lens;
    lens.moveTo(14, 8);
    lens.quadTo(26, 25, 14, 42);
    lens.quadTo(2, 25, 14, 8);
    QLinearGradient g(4, 0, 24, 0);
    g.setColorAt(0, QColor(120, 190, 255));
    g.setColorAt(1, QColor(20, 80, 170));
    p.setPen(QPen(QColor(20, 60, 130), 1.2));
    p.setBrush(g);
    p.drawPath(lens);
    p.setPen(QPen(QColor(255, 190, 40), 1.5));
    p.drawLine(QPointF(1, 25), QPointF(12, 25));
    p.drawLine(QPointF(17, 25), QPointF(27, 20));
    p.drawLine(QPointF(17, 25), QPointF(27, 30));

    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(14);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(20, 40, 110));
    p.drawText(QRectF(28, 10, 72, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pellucor"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(8);
    p.setFont(small);
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRectF(29, 28, 71, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("software"));
    p.end();
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: qel-make-logos <output folder>\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << "\n";
        return 1;
    }
    const struct {
        const char* name;
        QImage image;
    } logos[] = {{"Qellogo160.jpg", drawQellogo()}, {"Pellucor-100px.jpg", drawPellucor()}};
    for (const auto& l : logos) {
        const QString path = out.filePath(QString::fromLatin1(l.name));
        if (!l.image.save(path, "JPG", 92)) {
            err << "cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
