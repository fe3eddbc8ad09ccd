#pragma once
// Code run in a child process, for what a test cannot undo in its own: a lowered
// file size limit, another user's identity. Whatever the code leaves on disk stays
// there for the test to look at.
#include <QByteArray>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <functional>

#include <sys/wait.h>
#include <unistd.h>

namespace support {

// Runs prepare, then body, in a child process and returns what body returned, or
// "error: " followed by the message of the error that escaped it. prepare returns
// an empty text when it has set the child up, else why not; a child that cannot be
// set up or does not end normally gives a text beginning "child: ".
inline QString inChildProcess(const std::function<QString()>& prepare, const std::function<QString()>& body)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringLiteral("child: no pipe");
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return QStringLiteral("child: cannot fork");
    }
    if (pid == 0) {
        ::close(channel[0]);
        QString result = prepare();
        if (!result.isEmpty()) {
            result = QStringLiteral("child: ") + result;
        } else {
            try {
                result = body();
            } catch (const std::exception& e) {
                result = QStringLiteral("error: ") + QString::fromUtf8(e.what());
            } catch (...) {
                result = QStringLiteral("error: of no known type");
            }
        }
        const QByteArray bytes = result.toUtf8();
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t n = ::write(channel[1], bytes.constData() + done, std::size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        ::_exit(0); // no exit handlers, no flushing of what the parent still holds
    }

    ::close(channel[1]);
    QByteArray received;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        received.append(buffer, n);
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("child: ended abnormally (status %1) after \"%2\"")
            .arg(status)
            .arg(QString::fromUtf8(received));
    return QString::fromUtf8(received);
}

} // namespace support
