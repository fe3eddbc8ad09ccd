#include "textout.h"

#include "errors.h"

#include <QStringEncoder>

namespace toolkit {

namespace {

[[noreturn]] void fail(const QString& what, const QString& path, const QString& cause)
{
    throw IOException(QStringLiteral("%1 \"%2\": %3").arg(what, path, cause).toStdString());
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

TextOutputStream::TextOutputStream(const QString& path)
    : path_(path), file_(path)
{
}

std::unique_ptr<TextOutputStream> TextOutputStream::CreateTextFile(const QString& path)
{
    std::unique_ptr<TextOutputStream> s(new TextOutputStream(path));
    if (!s->file_.open(QIODevice::WriteOnly))
        fail(QStringLiteral("Cannot create the file"), path, s->file_.errorString());
    return s;
}

void TextOutputStream::writeBytes(const QByteArray& bytes)
{
    if (file_.write(bytes) != bytes.size())
        fail(QStringLiteral("Cannot write the file"), path_, file_.errorString());
}

void TextOutputStream::Write(const QString& text)
{
    writeBytes(toWindows1252(text));
}

void TextOutputStream::WriteLine(const QString& text)
{
    writeBytes(toWindows1252(text + Delimiter));
}

void TextOutputStream::commit()
{
    if (!file_.commit())
        fail(QStringLiteral("Cannot write the file"), path_, file_.errorString());
}

void writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        fail(QStringLiteral("Cannot create the file"), path, f.errorString());
    if (f.write(bytes) != bytes.size())
        fail(QStringLiteral("Cannot write the file"), path, f.errorString());
    if (!f.commit())
        fail(QStringLiteral("Cannot write the file"), path, f.errorString());
}

} // namespace toolkit
