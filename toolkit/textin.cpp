#include "textin.h"

#include "fileerrors.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace toolkit {

namespace {

constexpr std::size_t chunkBytes = std::size_t(1) << 16;

} // namespace

TextInputStream::TextInputStream(const QString& path, int fd, std::string_view text)
    : path_(path), fd_(fd), text_(text), buffer_(chunkBytes)
{
}

TextInputStream::~TextInputStream()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::unique_ptr<TextInputStream> TextInputStream::FromText(std::string_view text, const QString& path)
{
    return std::unique_ptr<TextInputStream>(new TextInputStream(path, -1, text));
}

std::unique_ptr<TextInputStream> TextInputStream::OpenAsTextFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    // Decided before opening: opening a pipe without a writer blocks, and opening a
    // device may do something of its own.
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        failFile(QStringLiteral("Cannot open the file"), path, systemCause(errno));
    if (const QString kind = kindOtherThanRegular(st.st_mode); !kind.isEmpty())
        failFile(QStringLiteral("Cannot open the file"), path, kind);

    // The path may have changed since: open without blocking and check what was opened.
    int fd = -1;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        failFile(QStringLiteral("Cannot open the file"), path, systemCause(errno));
    std::unique_ptr<TextInputStream> s(new TextInputStream(path, fd));
    if (::fstat(fd, &st) != 0)
        failFile(QStringLiteral("Cannot open the file"), path, systemCause(errno));
    if (const QString kind = kindOtherThanRegular(st.st_mode); !kind.isEmpty())
        failFile(QStringLiteral("Cannot open the file"), path, kind);
    return s;
}

std::size_t TextInputStream::readSome(char* into, std::size_t most)
{
    if (fd_ < 0) {
        const std::size_t n = std::min(most, text_.size());
        if (n > 0) // an empty view may hold no pointer at all
            std::memcpy(into, text_.data(), n);
        text_.remove_prefix(n);
        atEnd_ = n == 0;
        return n;
    }
    ssize_t n = 0;
    do {
        n = ::read(fd_, into, most);
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        failFile(QStringLiteral("Cannot read the file"), path_, systemCause(errno));
    atEnd_ = n == 0;
    return static_cast<std::size_t>(n);
}

bool TextInputStream::fill()
{
    if (atEnd_)
        return false;
    pos_ = 0;
    len_ = readSome(buffer_.data(), buffer_.size());
    if (atStart_ && len_ > 0) {
        atStart_ = false;
        // A file that begins with only part of a byte order mark keeps those bytes.
        while (len_ < 3 && !atEnd_)
            len_ += readSome(buffer_.data() + len_, buffer_.size() - len_);
        if (len_ >= 3 && std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0) {
            pos_ = 3;
            offset_ = 3;
        }
    }
    return pos_ < len_;
}

bool TextInputStream::EndOfFile() { return pos_ == len_ && !fill(); }

bool TextInputStream::ReadLine(std::string& line, std::int64_t limit)
{
    line.clear();
    for (;;) {
        if (pos_ == len_ && !fill())
            return true;
        const char* begin = buffer_.data() + pos_;
        const char* end = buffer_.data() + len_;
        const char* p = begin;
        while (p != end && *p != '\n' && *p != '\r')
            ++p;
        const auto n = static_cast<std::size_t>(p - begin);
        if (offset_ + static_cast<std::int64_t>(n) > limit) {
            line.append(begin, static_cast<std::size_t>(std::max<std::int64_t>(0, limit - offset_)));
            return false;
        }
        line.append(begin, n);
        pos_ += n;
        offset_ += static_cast<std::int64_t>(n);
        if (p == end)
            continue;
        ++pos_;
        ++offset_;
        if (*p == '\r') {
            if (pos_ == len_)
                fill();
            if (pos_ < len_ && buffer_[pos_] == '\n') {
                ++pos_;
                ++offset_;
            }
        }
        return true;
    }
}

} // namespace toolkit
