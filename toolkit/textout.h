#pragma once
// Text files out, and writeFileAtomically, through which the program writes every
// file; what it promises is written at its declaration below.
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
// IOException naming the file and the system's cause ("Cannot write the file
// "<path>": No space left on device"); never reports success for less. On plain
// POSIX calls:
// - Symbolic links are followed as the kernel follows them (a loop is an error): a
//   link stays and the file it leads to, which may be still to be made, gets the
//   bytes. Everything below is about that file.
// - A target that exists must be a regular file: a folder, a pipe, a socket or a
//   device is refused before anything is written. So is a file the process may not
//   write (by its effective ids: root may), as write-protected.
// - The bytes go to a file in the target's folder that has no name until it is
//   complete (O_TMPFILE); then it gets a short name and is renamed over the target
//   at once, so nothing is left beside the target however the program ends, but
//   for that instant. Where the file system has no such files, they go to a named
//   temporary file instead (".qel-" and eight letters), which a killed program
//   leaves behind. The name is short, so any name the folder can hold can be
//   replaced.
// - A replaced file's owner, group and mode pass to the new file as far as the
//   process may set them: the owner only as root, the group where the process
//   belongs to it, the set-user-ID bit only with the owner and the set-group-ID bit
//   only with the group. A new file gets 0666 less the umask.
// - Every write is checked (one a signal interrupts is made again), and so are the
//   sync to the disk and the close.
// - Just before the file is renamed over the target, the target must still be the
//   file that was looked at (device and inode), else the write is refused as
//   changed meanwhile, or as no regular file; a target gone meanwhile is made anew.
// - On any failure the temporary file is removed and an existing file stays as it
//   was.
void writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace toolkit
