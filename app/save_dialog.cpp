#include "app/save_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

namespace qel {

SaveDialog::SaveDialog(QWidget* parent, const QString& proposedName)
    : QFileDialog(parent, QString(), proposedName, QString())
{
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setOption(QFileDialog::DontUseNativeDialog);
}

std::optional<QString> SaveDialog::ask(QWidget* parent, const QString& proposedName)
{
    SaveDialog dialog(parent, proposedName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString path = dialog.chosenPath();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

QString SaveDialog::chosenPath() const
{
    if (!typedAsItStands_.isEmpty())
        return typedAsItStands_;
    return selectedFiles().value(0);
}

void SaveDialog::accept()
{
    typedAsItStands_.clear();
    auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString typed = field ? field->text() : QString();
    if (!typed.contains(QLatin1Char('"'))) {
        QFileDialog::accept();
        return;
    }

    // The typed text names one file, relative to the folder shown unless it is a
    // full path. As in Qt's own handling: a folder is entered, and an existing file
    // is replaced only when the user says so.
    const QString path = QDir::cleanPath(QDir(directory().absolutePath()).absoluteFilePath(typed));
    const QFileInfo info(path);
    if (info.isDir()) {
        setDirectory(path);
        field->clear();
        return;
    }
    if (info.exists()
        && QMessageBox::warning(this, windowTitle(),
                                tr("%1 already exists.\nDo you want to replace it?").arg(info.fileName()),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               != QMessageBox::Yes)
        return;
    typedAsItStands_ = path;
    QDialog::accept();
}

} // namespace qel
