#pragma once
// The main window: the canvas with the model on the right, the view controls in a
// column on the left, the shared menu bar, and the one-shot timer. Sizes and
// positions are those of the content area (the central widget).
#include "windows/scheme.h"

#include <QMainWindow>
#include <QRadioButton>
#include <QTimer>
#include <cstdint>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;

namespace qel {

class Canvas;
class UpDownArrows;

// A member of the main window's control set RBdrag; every member is named "RBdrag".
class RBdragMember : public QRadioButton {
    Q_OBJECT

public:
    RBdragMember(std::int64_t index, QWidget* parent);
    const std::int64_t Index;
};

// The main window's timer.
class _wrapper_Timer1 : public QTimer {
    Q_OBJECT

public:
    explicit _wrapper_Timer1(QObject* parent);
};

class WINhaupt : public Window<WINhaupt, QMainWindow> {
    Q_OBJECT

public:
    WINhaupt() = default;
    ~WINhaupt() override;

    // The classes of its control set and of its timer. They are declared outside
    // the window because moc takes no Q_OBJECT in a nested class.
    using RBdragMember = qel::RBdragMember;
    using _wrapper_Timer1 = qel::_wrapper_Timer1;

    // Control accessors, looked up by name on every call.
    QGroupBox* GroupBox1() const;
    QCheckBox* CBpunkte() const;
    QCheckBox* CBlinien() const;
    QCheckBox* CBachsen() const;
    QGroupBox* GroupBox2() const;
    QPushButton* PushButton1() const;
    UpDownArrows* UPDzoom() const;
    QRadioButton* RBdrag(std::int64_t index) const;
    QLabel* Label1() const;
    QLineEdit* EFzoom() const;
    Canvas* CAhaupt() const;
    QPushButton* PushButton2() const;
    QTimer* Timer1() const;
    QPushButton* PushButton3() const;

    // The canvas's paint handler; a test paints with it into a picture of its own.
    void CAhaupt_Paint(Canvas* control, QPainter& g, const QRegion& areas);

    // The items of the window's menu bar, by name.
    QAction* EditMenu() const;
    QAction* EditSelectAll() const;
    QAction* UntitledMenu0() const;
    QAction* EditClear() const;
    QAction* EditPaste() const;
    QAction* EditCopy() const;
    QAction* EditCut() const;
    QAction* UntitledMenu1() const;
    QAction* EditUndo() const;
    QAction* FileMenu() const;
    QAction* FileQuit() const;
    QAction* UntitledItem() const;
    QAction* About() const;
    QAction* FIoffhtml() const;
    QAction* FIoff() const;
    QAction* FIsave() const;
    QAction* FIload() const;

    // The content area's size limits.
    static constexpr int startWidth = 576;
    static constexpr int startHeight = 435;
    static constexpr int maxWidth = 1600;
    static constexpr int maxHeight = 900;

protected:
    void Layout() override;
    void _CreateControls0() override;

    // Control event handlers.
    void CBpunkte_Action(QCheckBox* control);
    void CBlinien_Action(QCheckBox* control);
    void CBachsen_Action(QCheckBox* control);
    void PushButton1_Action(QPushButton* control);
    void UPDzoom_Down(UpDownArrows* control);
    void UPDzoom_Up(UpDownArrows* control);
    bool CAhaupt_MouseDown(Canvas* control, std::int64_t x, std::int64_t y);
    void CAhaupt_MouseDrag(Canvas* control, std::int64_t x, std::int64_t y);
    bool CAhaupt_MouseWheel(Canvas* control, std::int64_t x, std::int64_t y, std::int64_t deltaX, std::int64_t deltaY);
    void PushButton2_Action(QPushButton* control);
    void Timer1_Action(QTimer* control);
    void PushButton3_Action(QPushButton* control);

    // Window event handlers.
    void Event_Open() override;
    void Event_Resized();
    void Event_Close() override;
    void Event_Resizing();

private:
    // The steps of _CreateControls0, in the order the controls are made (the
    // order of the Tab key within each container).
    void createDisplayBox();
    void createViewBox();
    void createCanvas();
    void createButtonsAndTimer();

    QAction* menuItem(const QString& name) const;
};

} // namespace qel

inline qel::WINhaupt* WINhaupt() { return qel::WINhaupt::accessor(); }
