#pragma once
// Qt's save dialog, with one change: a typed name that holds double quotes is the
// name of one file. Qt's dialog reads such text as a list of quoted names and would
// save under one of them, in whatever folder; here the file is the one typed.
#include <QFileDialog>
#include <optional>

namespace qel {

class SaveDialog : public QFileDialog {
    Q_OBJECT

public:
    // Opens in the proposed name's folder (the working folder for a bare name)
    // with the name filled in.
    SaveDialog(QWidget* parent, const QString& proposedName);

    // Shows the dialog; the chosen file's full path, or nothing when cancelled.
    static std::optional<QString> ask(QWidget* parent, const QString& proposedName);

    // After an accepted dialog: the chosen file's full path.
    QString chosenPath() const;

protected:
    void accept() override;

private:
    QString typedAsItStands_; // the chosen path when the typed name held a quote
};

} // namespace qel
