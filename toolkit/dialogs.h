#pragma once
// The file dialogs, reached through replaceable functions: the application installs
// Qt's dialogs, tests answer them with fixture paths. Both return the chosen file's
// full path, or nothing when the user cancels.
#include <QString>
#include <functional>
#include <optional>

namespace toolkit {

using OpenDialog = std::function<std::optional<QString>()>;
using SaveDialog = std::function<std::optional<QString>(const QString& proposedName)>;

// Open dialog without a file-type filter.
std::optional<QString> GetOpenFolderItem();
// Save dialog without a filter that proposes a file name.
std::optional<QString> GetSaveFolderItem(const QString& proposedName);

void setOpenDialog(OpenDialog dialog);
void setSaveDialog(SaveDialog dialog);
// Both back to "the user cancels".
void resetDialogs();

} // namespace toolkit
