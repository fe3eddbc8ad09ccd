#pragma once
// Qt's open and save dialogs, with one change: a typed name that holds double
// quotes is the name of one file. Qt's dialog reads such text as a list of quoted
// names and would open or save one of them, in whatever folder; here the file is
// the one typed.
#include <QFileDialog>
#include <optional>

namespace qel {

class FileDialog : public QFileDialog {
    Q_OBJECT

public:
    enum class Purpose { Open, Save };

    // An open dialog picks an existing file and opens in the folder the last file
    // dialog showed (at first the working folder); a save dialog opens in the
    // proposed name's folder (the working folder for a bare name) with the name
    // filled in.
    FileDialog(QWidget* parent, Purpose purpose, const QString& proposedName = QString());

    // Show the dialog; the chosen file's full path, or nothing when cancelled.
    static std::optional<QString> askOpen(QWidget* parent);
    static std::optional<QString> askSave(QWidget* parent, const QString& proposedName);

    // After an accepted dialog: the chosen file's full path.
    QString chosenPath() const;

protected:
    void accept() override;
    void done(int result) override;

private:
    std::optional<QString> ask();
    // Leaves selected in the dialog's list only the entry the typed text names.
    void keepOnlyTyped(const QString& typed);
    // The full path of a typed name read as it stands.
    QString pathOf(const QString& typed) const;

    Purpose purpose_;
    QString typedAsItStands_; // the chosen path when the typed name held a quote
};

} // namespace qel
