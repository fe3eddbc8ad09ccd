#pragma once
// The program's global seams in tests: the file dialogs answered from the test,
// and every seam put back as the program starts once a test ends, so that no test
// leaks one into the next and each one runs alone as it runs in the suite.
//
// A test class that touches a seam or the shared state calls resetSeams() from its
// cleanup(); window tests call resetSeamsAndWindows() (windows.h) and app tests
// resetProgram() (app.h), which close their windows first and then reset the seams.
#include "model/module1.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/report.h"
#include "toolkit/resources.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace support {

// Both file dialogs cancel, the report writes to standard error only, resources
// come from the program, no application object is registered, the window hooks
// answer as a fresh main window without a debug window, and the shared state holds
// its start values.
inline void resetSeams()
{
    toolkit::resetDialogs();
    toolkit::resetReport();
    toolkit::resetResourceLookup();
    toolkit::_RuntimeRegisterAppObject(nullptr);
    Module1::resetHooks();
    Module1::resetState();
}

// Every open dialog from now on chooses `path`.
inline void answerOpenDialog(const QString& path)
{
    toolkit::setOpenDialog([path] { return std::optional<QString>(path); });
}

// Answers every save dialog with `answer` (nothing: the user cancels) and keeps the
// proposed names, with the export flags as they stood when the dialog was shown.
struct SaveDialog {
    std::optional<QString> answer;
    QStringList proposed;
    std::vector<std::pair<bool, bool>> flagsSeen;

    explicit SaveDialog(std::optional<QString> a = std::nullopt) : answer(std::move(a))
    {
        toolkit::setSaveDialog([this](const QString& name) {
            proposed << name;
            flagsSeen.emplace_back(Module1::htmlsave, Module1::javasave);
            return answer;
        });
    }
    ~SaveDialog() { toolkit::resetDialogs(); }
    SaveDialog(const SaveDialog&) = delete;
    SaveDialog& operator=(const SaveDialog&) = delete;
};

} // namespace support
