#include "windows/WIInfo.h"

#include "toolkit/report.h"
#include "toolkit/resources.h"
#include "toolkit/version.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

namespace {

std::shared_ptr<QImage>& qellogoCache()
{
    static std::shared_ptr<QImage> cache;
    return cache;
}

std::shared_ptr<QImage>& pellucorCache()
{
    static std::shared_ptr<QImage> cache;
    return cache;
}

// A lookup that finds nothing leaves the cache empty, so the next call tries again;
// one that raises an error leaves it as it was.
std::shared_ptr<QImage> cachedPicture(std::shared_ptr<QImage>& cache, const QString& fileName)
{
    if (!cache)
        cache = toolkit::GetPictureFromResource(fileName);
    return cache;
}

// The about window's font sizes are pixel sizes (points at 72 dpi): its boxes
// are made for them, "Qel-Viewer" in bold 16 just fits its 100-pixel label. 0
// keeps the standard font's size.
QFont fontOfPixelSize(int pixels, bool bold = false)
{
    QFont f = QApplication::font();
    if (pixels > 0)
        f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// One line of text that cannot be selected. Each label paints its own (white)
// background and starts its text at the top of its box, so Label3, which overlaps
// the lower part of Label2, leaves "Qel-Viewer" whole.
void setLabelText(QLabel* label, const QString& text, const QFont& font, Qt::Alignment horizontal)
{
    label->setText(text);
    label->setFont(font);
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setWordWrap(false);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    label->setAutoFillBackground(true);
}

} // namespace

std::shared_ptr<QImage> Qellogo160() { return cachedPicture(qellogoCache(), QStringLiteral("Qellogo160.jpg")); }

std::shared_ptr<QImage> Pellucor100px() { return cachedPicture(pellucorCache(), QStringLiteral("Pellucor-100px.jpg")); }

namespace qel {

namespace testing {
void resetLogoCaches()
{
    qellogoCache().reset();
    pellucorCache().reset();
}
} // namespace testing

// --- controls ----------------------------------------------------------------

ImageWell::ImageWell(QWidget* parent) : QLabel(parent) { setAlignment(Qt::AlignCenter); }

void ImageWell::setImage(std::shared_ptr<QImage> image)
{
    image_ = std::move(image);
    if (image_)
        setPixmap(QPixmap::fromImage(*image_));
    else
        clear();
}

BackdropCanvas::BackdropCanvas(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void BackdropCanvas::setBackdrop(std::shared_ptr<QImage> image)
{
    backdrop_ = std::move(image);
    update();
}

void BackdropCanvas::paintEvent(QPaintEvent*)
{
    toolkit::guard([this] {
        if (!backdrop_)
            return;
        QPainter p(this);
        p.drawImage(QPoint(0, 0), *backdrop_);
    });
}

// --- window ------------------------------------------------------------------

void WIInfo::Layout()
{
    setFixedFrame(238, 315);
    setWindowTitle(QStringLiteral("Info"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
}

void WIInfo::_CreateControls0()
{
    auto* ok = makeControl<QPushButton>(this, QStringLiteral("PushButton1"), {85, 275, 69, 20});
    ok->setText(QStringLiteral("OK"));
    ok->setFont(fontOfPixelSize(12));
    ok->setDefault(true);
    ok->setAutoDefault(false);
    bind(ok, &QPushButton::clicked, &WIInfo::PushButton1_Action);

    // Each picture is set as soon as its control exists: a failed lookup ends the
    // window's construction there.
    auto* logo = makeControl<ImageWell>(this, QStringLiteral("ImageWell1"), {39, 52, 160, 160});
    logo->setImage(Qellogo160());

    auto* makerLogo = makeControl<BackdropCanvas>(this, QStringLiteral("Canvas1"), {0, 0, 100, 50});
    makerLogo->setBackdrop(Pellucor100px());

    auto* subtitle = makeControl<QLabel>(this, QStringLiteral("Label1"), {101, 295, 137, 20});
    setLabelText(subtitle, QStringLiteral("3-D wire-frame viewer"), fontOfPixelSize(9), Qt::AlignRight);

    auto* name = makeControl<QLabel>(this, QStringLiteral("Label2"), {69, 224, 100, 26});
    setLabelText(name, QStringLiteral("Qel-Viewer"), fontOfPixelSize(16, true), Qt::AlignLeft);

    auto* version = makeControl<QLabel>(this, QStringLiteral("Label3"), {69, 243, 100, 20});
    const QString versionText = QStringLiteral("Version %1.%2").arg(toolkit::versionMajor).arg(toolkit::versionMinor);
    setLabelText(version, versionText, fontOfPixelSize(0), Qt::AlignHCenter);
}

void WIInfo::PushButton1_Action(QPushButton*) { ::WIInfo()->Close(); }

void WIInfo::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        toolkit::guard([this] { PushButton1()->click(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace qel
