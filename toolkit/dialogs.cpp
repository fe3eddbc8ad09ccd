#include "dialogs.h"

namespace toolkit {

namespace {
OpenDialog& openDialog()
{
    static OpenDialog d;
    return d;
}
SaveDialog& saveDialog()
{
    static SaveDialog d;
    return d;
}
} // namespace

std::optional<QString> GetOpenFolderItem()
{
    if (!openDialog())
        return std::nullopt;
    return openDialog()();
}

std::optional<QString> GetSaveFolderItem(const QString& proposedName)
{
    if (!saveDialog())
        return std::nullopt;
    return saveDialog()(proposedName);
}

void setOpenDialog(OpenDialog dialog) { openDialog() = std::move(dialog); }
void setSaveDialog(SaveDialog dialog) { saveDialog() = std::move(dialog); }

void resetDialogs()
{
    openDialog() = nullptr;
    saveDialog() = nullptr;
}

} // namespace toolkit
