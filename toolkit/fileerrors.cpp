#include "fileerrors.h"

#include "errors.h"

#include <cstring>

#include <sys/stat.h>

namespace toolkit {

void failFile(const QString& what, const QString& path, const QString& cause)
{
    throw IOException(QStringLiteral("%1 \"%2\": %3").arg(what, path, cause).toStdString());
}

QString systemCause(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString kindOtherThanRegular(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("it is a directory, not a regular file");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a pipe (FIFO), not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a regular file");
    if (S_ISCHR(mode))
        return QStringLiteral("it is a character device, not a regular file");
    if (S_ISBLK(mode))
        return QStringLiteral("it is a block device, not a regular file");
    if (S_ISLNK(mode))
        return QStringLiteral("it is a symbolic link, not a regular file");
    return QStringLiteral("it is not a regular file");
}

} // namespace toolkit
