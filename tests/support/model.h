#pragma once
// Models for tests: put straight into the shared tables as if a model file had
// been read, the square that the export tests use with its OFF file, and the
// example cube that ships with the program.
#include "model/module1.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace support {

struct Point {
    double x, y, z;
};
struct Record {
    std::int64_t point, code;
};

// As if the model file `name` with these points and records had been read: rows 1
// up to the counts and the counts themselves set, the name too; every other row
// keeps what it holds, as after a read.
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

// The example model the program ships: a cube of 8 points and 16 records.
inline QString cubePath() { return QStringLiteral(QEL_SOURCE_DIR "/examples/cube.qel"); }

} // namespace support
