#pragma once
// Every file the program writes goes through writeFileAtomically: the bytes go to a
// temporary file beside the target, each write and the sync are checked, and only
// then is the temporary file moved over the target. A failure anywhere removes the
// temporary file, leaves an existing file as it was, and raises an IOException that
// names the file and the system's own cause.
#include <QByteArray>
#include <QString>
#include <memory>

namespace toolkit {

// A text file in Windows-1252 with a chosen line end. The text is gathered in
// memory and written whole by commit(); until then nothing on disk changes.
class TextOutputStream {
public:
    static std::unique_ptr<TextOutputStream> CreateTextFile(const QString& path);

    QString Delimiter = QStringLiteral("\n");

    // The text alone, converted to Windows-1252 ("?" for what it cannot hold).
    void Write(const QString& text);
    // The text, then Delimiter.
    void WriteLine(const QString& text);
    // Writes the file through writeFileAtomically; throws IOException naming the file.
    void commit();

    const QString& path() const { return path_; }

private:
    explicit TextOutputStream(const QString& path) : path_(path) {}

    QString path_;
    QByteArray bytes_;
};

// The line end of Windows text files: CR LF.
inline const QString windowsLineEnd = QStringLiteral("\r\n");

// Windows-1252 bytes of a text; a character it cannot represent becomes "?".
QByteArray toWindows1252(const QString& text);

// Replaces (or creates) the file at path with exactly these bytes, or throws
// IOException naming the file and the cause; never reports success for less.
// Symbolic links are followed: a link stays and the file it leads to gets the
// bytes. What exists there must be a regular file; a folder, a pipe, a socket or a
// device is refused before anything is written, and again just before the move. A
// replaced file's owner, group and mode pass to the new file as far as the process
// may set them; a new file gets 0666 less the umask.
void writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace toolkit
