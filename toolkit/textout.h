#pragma once
// Text files written in Windows-1252 with a chosen line end. The file is written
// to a temporary file beside its target and moved into place by commit(), so a
// failed write never leaves a half-written file or destroys an existing one.
#include <QSaveFile>
#include <QString>
#include <memory>

namespace toolkit {

class TextOutputStream {
public:
    // Creates (or, on commit, replaces) the file at path; throws IOException.
    static std::unique_ptr<TextOutputStream> CreateTextFile(const QString& path);

    QString Delimiter = QStringLiteral("\n");

    // The text alone, converted to Windows-1252 ("?" for what it cannot hold).
    void Write(const QString& text);
    // The text, then Delimiter.
    void WriteLine(const QString& text);
    // Moves the finished file into place; throws IOException naming the file.
    void commit();

    const QString& path() const { return path_; }

private:
    explicit TextOutputStream(const QString& path);
    void writeBytes(const QByteArray& bytes);

    QString path_;
    QSaveFile file_;
};

// Windows-1252 bytes of a text; a character it cannot represent becomes "?".
QByteArray toWindows1252(const QString& text);

// Writes bytes to path through a temporary file; throws IOException naming the file.
void writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace toolkit
