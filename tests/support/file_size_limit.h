#pragma once
// Writes that fail late and for real, without a mount: the code runs in a child
// process whose files cannot grow past a limit (RLIMIT_FSIZE) and which ignores
// SIGXFSZ, so every write past the limit fails with EFBIG, "File too large".
#include "tests/support/child_process.h"

#include <signal.h>
#include <sys/resource.h>

namespace support {

// Runs body in a child process under the limit; returns as inChildProcess does.
inline QString underFileSizeLimit(rlim_t limitBytes, const std::function<QString()>& body)
{
    return inChildProcess(
        [limitBytes] {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
            return QStringLiteral("cannot lower the file size limit");
        limit.rlim_cur = limitBytes; // the hard limit stays: only this child is bound
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return QStringLiteral("cannot lower the file size limit");
        return QString();
        },
        body);
}

} // namespace support
