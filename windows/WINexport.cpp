#include "windows/WINexport.h"

#include "export/export.h"
#include "model/module1.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>

namespace qel {

namespace {

// The flags are true only while the export from this window runs, also when it fails.
struct ExportFlags {
    ExportFlags(bool html, bool java)
    {
        Module1::htmlsave = html;
        Module1::javasave = java;
    }
    ~ExportFlags()
    {
        Module1::htmlsave = false;
        Module1::javasave = false;
    }
    ExportFlags(const ExportFlags&) = delete;
    ExportFlags& operator=(const ExportFlags&) = delete;
};

} // namespace

void WINexport::Layout()
{
    setFixedFrame(212, 128);
    setWindowTitle(QStringLiteral("OFF+ Export"));
}

void WINexport::_CreateControls0()
{
    auto* html = makeControl<QCheckBox>(this, QStringLiteral("CBhtml"), {56, 14, 100, 20});
    html->setText(QStringLiteral("HTML-Datei"));
    html->setChecked(false);

    auto* java = makeControl<QCheckBox>(this, QStringLiteral("CBjava"), {56, 46, 100, 20});
    java->setText(QStringLiteral("Java-Plugins"));
    java->setChecked(false);

    auto* exportButton = makeControl<QPushButton>(this, QStringLiteral("PushButton1"), {20, 88, 80, 20});
    exportButton->setText(QStringLiteral("Export"));
    exportButton->setDefault(true);
    bind(exportButton, &QPushButton::clicked, &WINexport::PushButton1_Action);

    auto* cancel = makeControl<QPushButton>(this, QStringLiteral("PushButton2"), {112, 88, 80, 20});
    cancel->setText(QStringLiteral("Abbruch"));
    bind(cancel, &QPushButton::clicked, &WINexport::PushButton2_Action);
}

QCheckBox* WINexport::CBhtml() const { return control<QCheckBox>(QStringLiteral("CBhtml")); }
QCheckBox* WINexport::CBjava() const { return control<QCheckBox>(QStringLiteral("CBjava")); }
QPushButton* WINexport::PushButton1() const { return control<QPushButton>(QStringLiteral("PushButton1")); }
QPushButton* WINexport::PushButton2() const { return control<QPushButton>(QStringLiteral("PushButton2")); }

void WINexport::PushButton1_Action(QPushButton*)
{
    {
        const ExportFlags flags(::WINexport()->CBhtml()->isChecked(), ::WINexport()->CBjava()->isChecked());
        Module1::saveoff();
    }
    // Reached only when the export completed or its dialog was cancelled: after an
    // error the window stays open, so the user can try another place.
    ::WINexport()->Close();
}

void WINexport::PushButton2_Action(QPushButton*) { ::WINexport()->Close(); }

void WINexport::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        // Only a push button that is not the default one lets the key through to
        // here: it presses that button; from anywhere else it presses "Export".
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        toolkit::guard([focused] { (focused ? focused : ::WINexport()->PushButton1())->click(); });
        return;
    }
    Window<WINexport>::keyPressEvent(event);
}

} // namespace qel
