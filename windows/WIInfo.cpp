#include "windows/WIInfo.h"

#include "toolkit/report.h"
#include "toolkit/resources.h"

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

// The layout's font sizes are pixel sizes (points at 72 dpi): the boxes were drawn
// for them, "Qel-Viewer" in bold 16 just fits its 100-pixel label. 0 is the
// standard font at its standard size.
QFont fontOfSize(int size, bool bold = false)
{
    QFont f = QApplication::font();
    if (size > 0)
        f.setPixelSize(size);
    f.setBold(bold);
    return f;
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
    m_image = std::move(image);
    if (m_image)
        setPixmap(QPixmap::fromImage(*m_image));
    else
        clear();
}

BackdropCanvas::BackdropCanvas(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void BackdropCanvas::setBackdrop(std::shared_ptr<QImage> image)
{
    m_backdrop = std::move(image);
    update();
}

void BackdropCanvas::paintEvent(QPaintEvent*)
{
    toolkit::guard([this] {
        if (!m_backdrop)
            return;
        QPainter p(this);
        p.drawImage(QPoint(0, 0), *m_backdrop);
    });
}

// --- window ------------------------------------------------------------------

void WIInfo::Layout()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(238, 315);
    setWindowTitle(QStringLiteral("Info"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
}

void WIInfo::_CreateControls0()
{
    auto* ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("PushButton1"));
    ok->setGeometry(85, 275, 69, 20);
    ok->setText(QStringLiteral("OK"));
    ok->setFont(fontOfSize(12));
    ok->setDefault(true);
    ok->setAutoDefault(false);
    connect(PushButton1(), &QPushButton::clicked, this, [this] { toolkit::guard([this] { PushButton1_Action(PushButton1()); }); });

    auto* well = new ImageWell(this);
    well->setObjectName(QStringLiteral("ImageWell1"));
    well->setImage(Qellogo160());
    well = ImageWell1();
    well->setGeometry(39, 52, 160, 160);

    auto* canvas = new BackdropCanvas(this);
    canvas->setObjectName(QStringLiteral("Canvas1"));
    canvas->setBackdrop(Pellucor100px());
    canvas = Canvas1();
    canvas->setGeometry(0, 0, 100, 50);

    struct LabelProps {
        const char* name;
        QString text;
        QRect geometry;
        int pointSize;
        bool bold;
        Qt::Alignment alignment;
    };
    const LabelProps labels[] = {
        {"Label1", QStringLiteral("3-D wire-frame viewer"), {101, 295, 137, 20}, 9, false, Qt::AlignRight | Qt::AlignTop},
        {"Label2", QStringLiteral("Qel-Viewer"), {69, 224, 100, 26}, 16, true, Qt::AlignLeft | Qt::AlignTop},
        {"Label3", QStringLiteral("Version 2.5"), {69, 243, 100, 20}, 0, false, Qt::AlignHCenter | Qt::AlignTop},
    };
    for (const auto& l : labels) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(l.name));
        label->setGeometry(l.geometry);
        label->setText(l.text);
        label->setFont(fontOfSize(l.pointSize, l.bold));
        label->setAlignment(l.alignment);
        label->setWordWrap(false);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        // Each label paints its own (white) background; the text starts at the top of
        // its box, so Label3, which overlaps Label2's lower part, leaves "Qel-Viewer" whole.
        label->setAutoFillBackground(true);
    }
}

void WIInfo::PushButton1_Action(QPushButton*) { ::WIInfo()->Close(); }

void WIInfo::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        toolkit::guard([this] { PushButton1()->click(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace qel
