#pragma once
// Models for tests: put straight into the shared tables as if a model file had
// been read, the square that the export tests use with its OFF file, and the
// example cube that ships with the program.
#include "model/module1.h"
#include "model/reader.h"

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

// As if the model file `name` with these points and records had been read: the
// counts and the name set, rows 1 up to the counts written and every row above
// them zero, as after a read.
inline void loadModel(const QString& name, const std::vector<Point>& points, const std::vector<Record>& records)
{
    Module1::ParsedModel m;
    m.pointCount = static_cast<std::int64_t>(points.size());
    m.lineCount = static_cast<std::int64_t>(records.size());
    for (const Point& p : points)
        m.points.push_back({p.x, p.y, p.z});
    for (const Record& r : records)
        m.lines.push_back({r.point, r.code});
    Module1::datname = name;
    Module1::anzpkt = m.pointCount;
    Module1::anzlin = m.lineCount;
    Module1::storeRows(m, Module1::punkt, Module1::linie);
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
