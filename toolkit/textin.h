#pragma once
// A text file read line by line. Only a regular file is opened: a named pipe, a
// socket, a device or a folder is refused before anything could block on it. A
// text in memory can be read the same way, with the same line ends.
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

class TextInputStream {
public:
    // Opens the regular file at path for reading; throws IOException naming the file
    // and the cause, or what the path is when it is not a regular file.
    static std::unique_ptr<TextInputStream> OpenAsTextFile(const QString& path);
    // Reads `text`, which must outlive the stream, as if it were a file's content;
    // `path` names it in messages.
    static std::unique_ptr<TextInputStream> FromText(std::string_view text, const QString& path);
    ~TextInputStream();
    TextInputStream(const TextInputStream&) = delete;
    TextInputStream& operator=(const TextInputStream&) = delete;

    // True when no line is left; throws IOException on a read error.
    bool EndOfFile();

    // The next line into `line`, without its line end (LF, CR LF or a lone CR; a last
    // line without one is a line too). A UTF-8 byte order mark at the very start is no
    // part of the first line. Returns false, with `line` holding what was read of it,
    // when the line's text would go past byte `limit` of the file; throws IOException
    // on a read error.
    bool ReadLine(std::string& line, std::int64_t limit);

    const QString& path() const { return path_; }

private:
    TextInputStream(const QString& path, int fd, std::string_view text = {});
    // Reads the next piece of the file into the buffer; false at the end of the file.
    bool fill();
    // One read() of at most `most` bytes; 0 at the end of the file.
    std::size_t readSome(char* into, std::size_t most);

    QString path_;
    int fd_;                // -1 for a text in memory
    std::string_view text_; // what is left of a text in memory
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    std::int64_t offset_ = 0; // of buffer_[pos_] in the file
    bool atStart_ = true;
    bool atEnd_ = false; // the file said so once; it is not asked again
};

} // namespace toolkit
