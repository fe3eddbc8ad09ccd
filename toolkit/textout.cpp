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

// Removes the temporary file unless it has been moved into place.
class Temporary {
public:
    Temporary(int fd, QByteArray name) : fd_(fd), name_(std::move(name)) {}
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
    int fd_;
    QByteArray name_;
};

// A new file beside `target` under a short name of its own, so that any name the
// folder can hold can be replaced. Created 0600 to replace a file (its owner and
// mode follow), else with the mode a plain new file gets (0666 less the umask).
Temporary createTemporary(const QString& path, const QByteArray& target, bool replacing)
{
    const QByteArray folder = folderOf(target);
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int tries = 0;; ++tries) {
        QByteArray suffix(8, Qt::Uninitialized);
        for (char& c : suffix)
            c = letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        QByteArray name = inFolder(folder, ".qel-" + suffix);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              replacing ? 0600 : 0666);
        if (fd >= 0)
            return Temporary(fd, std::move(name));
        if (errno != EEXIST && errno != EINTR)
            failFile(cannotCreate, path, systemCause(errno));
        if (tries == 100)
            failFile(cannotCreate, path, QStringLiteral("no free temporary name in its folder"));
    }
}

// The temporary file gets the replaced file's owner, group and mode. The owner only
// where the process may give it away (as root), the group wherever the process
// belongs to it; what it may not set stays its own. The mode comes last, since a
// change of owner clears the set-user-ID and set-group-ID bits.
void takeOver(int fd, const struct stat& old, const QString& path)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        if (errno != EPERM && errno != EINVAL)
            failFile(cannotWrite, path, systemCause(errno));
        if (::fchown(fd, uid_t(-1), old.st_gid) != 0 && errno != EPERM && errno != EINVAL)
            failFile(cannotWrite, path, systemCause(errno));
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0 && errno != EPERM)
        failFile(cannotWrite, path, systemCause(errno));
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

void writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    // What the path leads to, links followed as the kernel follows them. A link
    // stays and its target gets the bytes. A target that exists must be a regular
    // file: renaming over a device, a pipe or a socket would put a plain file in its
    // place for every other program.
    const QByteArray given = QFile::encodeName(path);
    struct stat old {};
    const bool replacing = ::stat(given.constData(), &old) == 0;
    if (!replacing && errno != ENOENT)
        failFile(cannotCreate, path, systemCause(errno));
    if (replacing && !S_ISREG(old.st_mode))
        failFile(cannotWrite, path, refusal(old.st_mode));
    const QByteArray target = finalTarget(path, given);

    Temporary temporary = createTemporary(path, target, replacing);
    if (replacing)
        takeOver(temporary.fd(), old, path);
    writeAll(temporary.fd(), bytes, path);
    int synced = 0;
    while ((synced = ::fsync(temporary.fd())) != 0 && errno == EINTR) {}
    if (synced != 0)
        failFile(cannotWrite, path, systemCause(errno));
    if (temporary.close() != 0 && errno != EINTR)
        failFile(cannotWrite, path, systemCause(errno));

    // The target may have changed while the bytes were written.
    struct stat now {};
    if (::lstat(target.constData(), &now) == 0 && !S_ISREG(now.st_mode))
        failFile(cannotWrite, path, refusal(now.st_mode));
    if (::rename(temporary.name().constData(), target.constData()) != 0)
        failFile(cannotWrite, path, systemCause(errno));
    temporary.placed();
}

} // namespace toolkit
