#pragma once
// Small helpers the export tests share: a model put straight into the tables, the
// save dialog answered from the test, and a look at what landed on disk.
#include "model/module1.h"
#include "toolkit/dialogs.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace fixture {

struct Point {
    double x, y, z;
};
struct Record {
    std::int64_t point, code;
};

// As if the model file `name` with these points and records had been read.
inline void loadModel(const QString& name, const std::vector<Point>& points, const std::vector<Record>& records)
{
    Module1::datname = name;
    Module1::anzpkt = static_cast<std::int64_t>(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto k = static_cast<std::int64_t>(i) + 1;
        Module1::punkt(k, 1) = points[i].x;
        Module1::punkt(k, 2) = points[i].y;
        Module1::punkt(k, 3) = points[i].z;
    }
    Module1::anzlin = static_cast<std::int64_t>(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto j = static_cast<std::int64_t>(i) + 1;
        Module1::linie(j, 1) = records[i].point;
        Module1::linie(j, 2) = records[i].code;
    }
}

// The square with seven records, read from square.txt.
inline void loadSquare()
{
    loadModel(QStringLiteral("square.txt"), {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
              {{1, 0}, {2, 4}, {3, 10}, {4, 0}, {1, 7}, {3, -2}, {4, 16}});
}

// Its OFF file, 105 bytes.
inline const QByteArray squareOff = QByteArrayLiteral("OFF\r\n"
                                                      "4 4 99\r\n"
                                                      "0 0 0\r\n"
                                                      "1 0 0\r\n"
                                                      "1 1 0\r\n"
                                                      "0 1 0\r\n"
                                                      "2 0 1 0.5 0 0\r\n"
                                                      "2 1 2 0.5 1 0.5\r\n"
                                                      "2 3 0 0.5 0.5 0.5\r\n"
                                                      "2 2 3 0 0 0\r\n");

// Answers every save dialog with `answer` (nothing: the user cancels) and keeps the
// proposed names, with the export flags as they stood when the dialog was shown.
struct SaveDialog {
    std::optional<QString> answer;
    QStringList proposed;
    std::vector<std::pair<bool, bool>> flagsSeen;

    explicit SaveDialog(std::optional<QString> a = std::nullopt) : answer(std::move(a))
    {
        toolkit::setSaveDialog([this](const QString& name) {
            proposed << name;
            flagsSeen.emplace_back(Module1::htmlsave, Module1::javasave);
            return answer;
        });
    }
    ~SaveDialog() { toolkit::resetDialogs(); }
    SaveDialog(const SaveDialog&) = delete;
    SaveDialog& operator=(const SaveDialog&) = delete;
};

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

// A class file as compiled into the program.
inline QByteArray builtInResource(const QString& name)
{
    return bytesOf(QStringLiteral(":/qel/") + name);
}

} // namespace fixture
