#pragma once
// The model file's format. parseModel turns the lines of a model into a parsed
// model and touches nothing else; datenlesen (module1.h) asks for the file, parses
// it and only then stores the result in the shared state.
#include "model/tables.h"

#include <QString>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace toolkit {
class TextInputStream;
}

namespace Module1 {

// A model as its file gives it: both counts as read (a count of 0 or below counts
// nothing), and one row for each point and each line record they count.
struct ParsedModel {
    std::int64_t pointCount = 0;
    std::int64_t lineCount = 0;
    std::vector<std::array<double, 3>> points;      // x, y, z of points 1, 2, ...
    std::vector<std::array<std::int64_t, 2>> lines; // point number, colour code of records 1, 2, ...
};

// Reads a model from `in`, line by line up to its last record; nothing after that
// is read. `name` names the model in messages. A model above the tables' capacity,
// or one whose text runs past 64 MB before it is complete, raises
// UnsupportedFormatException; the stream's read errors pass through.
ParsedModel parseModel(toolkit::TextInputStream& in, const QString& name);
// The same for a model text in memory; `name` also stands for its path.
ParsedModel parseModel(std::string_view text, const QString& name);

// Writes rows 1 to the counts of the tables and sets every row above them to zero,
// so that nothing of an earlier model stays; row 0, the origin, stays zero.
void storeRows(const ParsedModel& model, PointTable& punkt, LineTable& linie);

} // namespace Module1
