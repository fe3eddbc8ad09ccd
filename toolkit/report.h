#pragma once
// The report of unhandled errors. Every entry point where Qt calls our code runs
// its body inside guard(): an error ends that body, is handed to the report, and
// the program goes on. No exception ever crosses a Qt frame.
#include <QString>
#include <exception>
#include <functional>

namespace toolkit {

using Report = std::function<void(const QString& message)>;

// The text the report shows for an error.
QString messageOf(const std::exception_ptr& error);

// Hands an error to the installed report (standard error only, until the
// application installs its own).
void reportUnhandled(const std::exception_ptr& error) noexcept;

void setReport(Report report);
void resetReport();

template <class F>
void guard(F&& body) noexcept
{
    try {
        body();
    } catch (...) {
        reportUnhandled(std::current_exception());
    }
}

// For handlers whose result goes back to Qt: the fallback is returned after an error.
template <class R, class F>
R guard(R fallback, F&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        reportUnhandled(std::current_exception());
        return fallback;
    }
}

} // namespace toolkit
