#include "app/file_dialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>

namespace qel {

namespace {

QLineEdit* nameField(const QFileDialog* dialog)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

} // namespace

FileDialog::FileDialog(QWidget* parent, Purpose purpose, const QString& proposedName)
    : QFileDialog(parent, QString(), proposedName, QString()), purpose_(purpose)
{
    setOption(QFileDialog::DontUseNativeDialog);
    // While a name is typed, Qt's dialog selects in its list each entry the text
    // names so far (each folder of a full path on the way) and drops the earlier
    // ones only if the field already holds Qt's focus. Keys typed fast can reach the
    // field before that, and a folder left selected would be entered on Return
    // instead of taking the typed name. So a keystroke drops every entry other than
    // the one the text names now, whatever has the focus.
    if (QLineEdit* field = nameField(this))
        connect(field, &QLineEdit::textEdited, this, [this](const QString& typed) { keepOnlyTyped(typed); });
    if (purpose == Purpose::Save) {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        return;
    }
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    // Qt enables its Open button by the names it reads out of quotes; for a typed
    // name with quotes the button follows that name as it stands. Connected after
    // Qt's own update, so this one has the last word.
    if (QLineEdit* field = nameField(this)) {
        connect(field, &QLineEdit::textChanged, this, [this](const QString& typed) {
            auto* buttons = findChild<QDialogButtonBox*>();
            QPushButton* open = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
            if (open && typed.contains(QLatin1Char('"')))
                open->setEnabled(QFileInfo::exists(pathOf(typed)));
        });
    }
}

std::optional<QString> FileDialog::askOpen(QWidget* parent)
{
    FileDialog dialog(parent, Purpose::Open);
    return dialog.ask();
}

std::optional<QString> FileDialog::askSave(QWidget* parent, const QString& proposedName)
{
    FileDialog dialog(parent, Purpose::Save, proposedName);
    return dialog.ask();
}

std::optional<QString> FileDialog::ask()
{
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    const QString path = chosenPath();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

QString FileDialog::chosenPath() const
{
    if (!typedAsItStands_.isEmpty())
        return typedAsItStands_;
    return selectedFiles().value(0);
}

// The typed text names one entry, relative to the folder shown unless it is a full path.
QString FileDialog::pathOf(const QString& typed) const
{
    return QDir::cleanPath(QDir(directory().absolutePath()).absoluteFilePath(typed));
}

// The list of completions under the name field is a popup that holds the
// keyboard and the mouse while it is open. Closed with the dialog, so that what is
// typed or clicked next reaches the window below, not a list that is about to go.
void FileDialog::done(int result)
{
    QLineEdit* field = nameField(this);
    if (QCompleter* completer = field ? field->completer() : nullptr; completer && completer->popup())
        completer->popup()->hide();
    QFileDialog::done(result);
}

void FileDialog::keepOnlyTyped(const QString& typed)
{
    auto* list = findChild<QListView*>(QStringLiteral("listView"));
    QItemSelectionModel* selection = list ? list->selectionModel() : nullptr;
    if (!selection)
        return;
    // Names in quotes are taken as typed (accept), never from the list.
    const QString path = typed.contains(QLatin1Char('"')) ? QString() : pathOf(typed);
    const QModelIndexList rows = selection->selectedRows();
    for (const QModelIndex& row : rows) {
        if (path.isEmpty() || row.data(QFileSystemModel::FilePathRole).toString() != path)
            selection->select(row, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
}

void FileDialog::accept()
{
    typedAsItStands_.clear();
    QLineEdit* field = nameField(this);
    const QString typed = field ? field->text() : QString();
    if (!typed.contains(QLatin1Char('"'))) {
        QFileDialog::accept();
        return;
    }

    // As in Qt's own handling of a name: a folder is entered, a file to open must
    // exist, and an existing file is replaced only when the user says so.
    const QString path = pathOf(typed);
    const QFileInfo info(path);
    if (info.isDir()) {
        setDirectory(path);
        field->clear();
        return;
    }
    if (purpose_ == Purpose::Open && !info.exists()) {
        QMessageBox::warning(this, windowTitle(),
                             QFileDialog::tr("%1\nFile not found.\nPlease verify the correct file name was given.")
                                 .arg(info.fileName()));
        return;
    }
    if (purpose_ == Purpose::Save && info.exists()
        && QMessageBox::warning(this, windowTitle(),
                                QFileDialog::tr("%1 already exists.\nDo you want to replace it?").arg(info.fileName()),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    typedAsItStands_ = path;
    QDialog::accept();
}

} // namespace qel
