#pragma once
// A look at what landed on disk, and files prepared for a test.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <QtGlobal>

namespace support {

inline QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<missing>");
    return f.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot prepare %s", qPrintable(path));
}

// Every entry of a folder, hidden ones too (a left-over temporary file shows here).
inline QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A resource as compiled into the program (a class file, a logo).
inline QByteArray builtInResource(const QString& name) { return bytesOf(QStringLiteral(":/qel/") + name); }

} // namespace support
