#pragma once
// The about window: product logo, name and version, the maker's logo in the
// top-left corner, and an OK button that closes it.
#include "windows/scheme.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <memory>

namespace qel {

// Shows one picture, centred; without a picture it is an empty well.
class ImageWell : public QLabel {
    Q_OBJECT

public:
    explicit ImageWell(QWidget* parent = nullptr);
    void setImage(std::shared_ptr<QImage> image);
    const std::shared_ptr<QImage>& image() const { return image_; }

private:
    std::shared_ptr<QImage> image_;
};

// A canvas that draws nothing of its own: it shows its backdrop at its top-left
// corner, or stays blank without one.
class BackdropCanvas : public QWidget {
    Q_OBJECT

public:
    explicit BackdropCanvas(QWidget* parent = nullptr);
    void setBackdrop(std::shared_ptr<QImage> image);
    const std::shared_ptr<QImage>& backdrop() const { return backdrop_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<QImage> backdrop_;
};

class WIInfo : public Window<WIInfo> {
    Q_OBJECT

public:
    WIInfo() = default;

    QPushButton* PushButton1() const { return control<QPushButton>(QStringLiteral("PushButton1")); }
    ImageWell* ImageWell1() const { return control<ImageWell>(QStringLiteral("ImageWell1")); }
    BackdropCanvas* Canvas1() const { return control<BackdropCanvas>(QStringLiteral("Canvas1")); }
    QLabel* Label1() const { return control<QLabel>(QStringLiteral("Label1")); }
    QLabel* Label2() const { return control<QLabel>(QStringLiteral("Label2")); }
    QLabel* Label3() const { return control<QLabel>(QStringLiteral("Label3")); }

protected:
    void Layout() override;
    void _CreateControls0() override;

    void PushButton1_Action(QPushButton* button);

    // A plain window has no default-button handling of its own: Return and Enter
    // press the OK button wherever the focus is.
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace qel

inline qel::WIInfo* WIInfo() { return qel::WIInfo::accessor(); }

// The two logos among the program resources. Once found, a logo is kept for the
// rest of the run and every later about window shows that same picture; while a
// lookup finds nothing (nullptr), every call looks it up again.
std::shared_ptr<QImage> Qellogo160();
std::shared_ptr<QImage> Pellucor100px();

namespace qel::testing {
// Empties both logo caches, as at program start.
void resetLogoCaches();
} // namespace qel::testing
