#include "textout.h"

#include "fileerrors.h"

#include <QSaveFile>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>

#include <unistd.h>

namespace toolkit {

namespace {

// Qt's account of a failed open or commit, which comes from the failing call; the
// system's words for errno when Qt has none of its own.
QString causeOf(const QFileDevice& f, int err)
{
    const QString said = f.errorString();
    if (!said.isEmpty() && said != QLatin1String("Unknown error"))
        return said;
    return err != 0 ? systemCause(err) : QStringLiteral("the system gave no cause");
}

// Gives up a write: the temporary file goes, the target stays as it was.
[[noreturn]] void abandon(QSaveFile& f, const QString& path, const QString& cause)
{
    f.cancelWriting();
    failFile(QStringLiteral("Cannot write the file"), path, cause);
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
    // Unbuffered: Qt holds back no byte for a later, unchecked write. The bytes go
    // through the descriptor, so each failure carries the errno of its own call.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failFile(QStringLiteral("Cannot create the file"), path, causeOf(f, errno));
    const int fd = f.handle();
    const char* p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<std::size_t>(std::min<qint64>(left, qint64(1) << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            abandon(f, path, systemCause(errno));
        if (n == 0)
            abandon(f, path, QStringLiteral("the system accepted no more bytes"));
        p += n;
        left -= n;
    }
    if (::fsync(fd) != 0)
        abandon(f, path, systemCause(errno));
    if (!f.commit())
        failFile(QStringLiteral("Cannot write the file"), path, causeOf(f, errno));
}

} // namespace toolkit
