#pragma once
// The export window: what an OFF export writes besides the OFF file (the applet
// page, the applet class files), and the button that runs it.
#include "windows/scheme.h"

class QCheckBox;
class QKeyEvent;
class QPushButton;

namespace qel {

class WINexport : public Window<WINexport> {
    Q_OBJECT

public:
    WINexport() = default;

    QCheckBox* CBhtml() const;
    QCheckBox* CBjava() const;
    QPushButton* PushButton1() const;
    QPushButton* PushButton2() const;

protected:
    void Layout() override;
    void _CreateControls0() override;

    // Export: the ticks become the export flags for one OFF export, then the window closes.
    void PushButton1_Action(QPushButton* control);
    // Abbruch: closes the window like its close button; no flag, no file.
    void PushButton2_Action(QPushButton* control);

    // Return and Enter press the focused push button, else the default button "Export".
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace qel

inline qel::WINexport* WINexport() { return qel::WINexport::accessor(); }
