#include "textout.h"

#include "fileerrors.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace toolkit {

namespace {

const QString cannotCreate = QStringLiteral("Cannot create the file");
const QString cannotWrite = QStringLiteral("Cannot write the file");

// Links followed before a path counts as a loop, as the kernel's own bound.
constexpr int maxLinks = 40;

QByteArray folderOf(const QByteArray& file)
{
    const qsizetype slash = file.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return file.left(std::max<qsizetype>(slash, 1));
}

QByteArray inFolder(const QByteArray& folder, const QByteArray& name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// The file a path names in the end: the path itself, or where its chain of symbolic
// links leads, which need not exist yet (a link to a file still to be made).
QByteArray finalTarget(const QString& path, QByteArray file)
{
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(file.constData(), &st) != 0) {
            if (errno != ENOENT)
                failFile(cannotCreate, path, systemCause(errno));
            return file;
        }
        if (!S_ISLNK(st.st_mode))
            return file;
        if (links == maxLinks)
            failFile(cannotCreate, path, systemCause(ELOOP));
        QByteArray to(st.st_size > 0 ? st.st_size + 1 : 256, Qt::Uninitialized);
        ssize_t n = 0;
        // The link may have grown since lstat; read until the whole text fits.
        while ((n = ::readlink(file.constData(), to.data(), std::size_t(to.size()))) == to.size())
            to.resize(to.size() * 2);
        if (n < 0)
            failFile(cannotCreate, path, systemCause(errno));
        to.truncate(n);
        file = to.startsWith('/') ? to : inFolder(folderOf(file), to);
    }
}

QString refusal(mode_t mode) { return kindOtherThanRegular(mode) + QStringLiteral("; nothing was written"); }

// A short name of our own in the folder: ".qel-" and eight letters, so that any
// name the folder can hold can be replaced.
QByteArray shortName(const QByteArray& folder)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(8, Qt::Uninitialized);
    for (char& c : suffix)
        c = letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return inFolder(folder, ".qel-" + suffix);
}

// Tries makeName with new short names until one is free; returns it, or sets errno.
template <class MakeName>
QByteArray freeName(const QByteArray& folder, MakeName makeName)
{
    for (int tries = 0; tries < 100; ++tries) {
        QByteArray name = shortName(folder);
        if (makeName(name))
            return name;
        if (errno != EEXIST && errno != EINTR)
            return {};
    }
    errno = EEXIST;
    return {};
}

// Why freeName found no name.
QString freeNameCause()
{
    return errno == EEXIST ? QStringLiteral("no free temporary name in its folder") : systemCause(errno);
}

// The file the bytes go to before they replace the target, in the target's folder.
// It is unnamed (O_TMPFILE) wherever the file system allows, since a named file is
// left behind when the program is killed before it can remove it. Only where the
// open is refused for the flag itself (EOPNOTSUPP from a file system without
// unnamed files, EISDIR or EINVAL from kernels and file systems that do not know
// it) is the file named from the start. What is not placed is removed: the unnamed
// file with its descriptor, a name by unlink.
class Temporary {
public:
    // Created 0600 to replace a file (its owner and mode follow), else with the mode
    // a plain new file gets (0666 less the umask).
    Temporary(const QString& path, const QByteArray& target, bool replacing) : folder_(folderOf(target))
    {
        const mode_t mode = replacing ? 0600 : 0666;
        while ((fd_ = ::open(folder_.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode)) < 0 && errno == EINTR) {}
        if (fd_ >= 0)
            return;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            failFile(cannotCreate, path, systemCause(errno));
        name_ = freeName(folder_, [&](const QByteArray& name) {
            fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            return fd_ >= 0;
        });
        if (fd_ < 0)
            failFile(cannotCreate, path, freeNameCause());
    }
    ~Temporary()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!name_.isEmpty())
            ::unlink(name_.constData());
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    int fd() const { return fd_; }
    // The complete file gets a short name of its own in the folder, to be renamed
    // over the target at once. Linking through /proc works for every user;
    // linkat(AT_EMPTY_PATH) would need CAP_DAC_READ_SEARCH.
    void giveName(const QString& path)
    {
        if (!name_.isEmpty())
            return;
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
        name_ = freeName(folder_, [&](const QByteArray& name) {
            return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0;
        });
        if (name_.isEmpty())
            failFile(cannotWrite, path, freeNameCause());
    }
    const QByteArray& name() const { return name_; }
    // Closes the file; on Linux the descriptor is gone even when close fails.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }
    void placed() { name_.clear(); }

private:
    QByteArray folder_;
    int fd_ = -1;
    QByteArray name_;
};

// The replaced file's owner and group, as far as the process may give them (EPERM,
// or EINVAL for an id the system cannot map, leave the file its own). Returns the
// mode the file is to get: the old one, without a set-id bit whose owner or group
// the file did not get.
mode_t takeOwnership(int fd, const struct stat& old, const QString& path)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        if (errno != EPERM && errno != EINVAL)
            failFile(cannotWrite, path, systemCause(errno));
        if (::fchown(fd, uid_t(-1), old.st_gid) != 0 && errno != EPERM && errno != EINVAL)
            failFile(cannotWrite, path, systemCause(errno));
    }
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        failFile(cannotWrite, path, systemCause(errno));
    mode_t mode = old.st_mode & 07777;
    if (now.st_uid != old.st_uid)
        mode &= ~mode_t(S_ISUID);
    if (now.st_gid != old.st_gid)
        mode &= ~mode_t(S_ISGID);
    return mode;
}

void writeAll(int fd, const QByteArray& bytes, const QString& path)
{
    const char* p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<std::size_t>(std::min<qint64>(left, qint64(1) << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failFile(cannotWrite, path, systemCause(errno));
        if (n == 0)
            failFile(cannotWrite, path, QStringLiteral("the system accepted no more bytes"));
        p += n;
        left -= n;
    }
}

} // namespace

QByteArray toWindows1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    // Encode code point by code point so that an unrepresentable one becomes "?".
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            out.append(static_cast<char>(c.unicode()));
            continue;
        }
        qsizetype len = 1;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            len = 2;
        QStringEncoder one("windows-1252");
        const QByteArray bytes = one.encode(QStringView(text).mid(i, len));
        if (one.hasError() || bytes.size() != 1)
            out.append('?');
        else
            out.append(bytes);
        i += len - 1;
    }
    return out;
}

std::unique_ptr<TextOutputStream> TextOutputStream::CreateTextFile(const QString& path)
{
    return std::unique_ptr<TextOutputStream>(new TextOutputStream(path));
}

void TextOutputStream::Write(const QString& text) { bytes_ += toWindows1252(text); }

void TextOutputStream::WriteLine(const QString& text) { bytes_ += toWindows1252(text + Delimiter); }

void TextOutputStream::commit() { writeFileAtomically(path_, bytes_); }

// What it promises is written at its declaration in textout.h.
void writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    // The owner, group and mode come from the file the links lead to, the same
    // file that is replaced. Renaming over a device, a pipe or a socket would put a
    // plain file in its place for every other program.
    const QByteArray target = finalTarget(path, QFile::encodeName(path));
    struct stat old {};
    const bool replacing = ::lstat(target.constData(), &old) == 0;
    if (!replacing && errno != ENOENT)
        failFile(cannotCreate, path, systemCause(errno));
    if (replacing && !S_ISREG(old.st_mode))
        failFile(cannotWrite, path, refusal(old.st_mode));
    // The effective ids decide, as they decide an open for writing.
    if (replacing && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0 && errno == EACCES)
        failFile(cannotWrite, path, QStringLiteral("it is write-protected; nothing was written"));

    Temporary temporary(path, target, replacing);
    const mode_t mode = replacing ? takeOwnership(temporary.fd(), old, path) : 0;
    writeAll(temporary.fd(), bytes, path);
    // The mode comes after the bytes: a write by a process that is not root clears
    // the set-user-ID and set-group-ID bits.
    if (replacing && ::fchmod(temporary.fd(), mode) != 0 && errno != EPERM)
        failFile(cannotWrite, path, systemCause(errno));
    int synced = 0;
    while ((synced = ::fsync(temporary.fd())) != 0 && errno == EINTR) {}
    if (synced != 0)
        failFile(cannotWrite, path, systemCause(errno));
    temporary.giveName(path);
    if (temporary.close() != 0 && errno != EINTR)
        failFile(cannotWrite, path, systemCause(errno));

    // The target may have changed while the bytes were written: only the file that
    // was looked at is replaced, and only a target that is still missing is made.
    struct stat now {};
    if (::lstat(target.constData(), &now) == 0) {
        if (!S_ISREG(now.st_mode))
            failFile(cannotWrite, path, refusal(now.st_mode));
        if (!replacing || now.st_dev != old.st_dev || now.st_ino != old.st_ino)
            failFile(cannotWrite, path, QStringLiteral("it changed while it was being written; nothing was replaced"));
    }
    if (::rename(temporary.name().constData(), target.constData()) != 0)
        failFile(cannotWrite, path, systemCause(errno));
    temporary.placed();
}

} // namespace toolkit
