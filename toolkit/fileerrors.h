#pragma once
// What the file reader and the write function say when a file fails them: one
// message form, the system's words for an errno, and what a path is when it is not
// a regular file.
#include <QString>

#include <sys/types.h>

namespace toolkit {

// Throws IOException: what "path": cause.
[[noreturn]] void failFile(const QString& what, const QString& path, const QString& cause);

// The system's words for an errno ("No space left on device").
QString systemCause(int error);

// Empty for a regular file, else what the file of this mode is instead ("it is a
// pipe (FIFO), not a regular file").
QString kindOtherThanRegular(mode_t mode);

} // namespace toolkit
