#include "model/reader.h"

#include "model/module1.h"

#include "toolkit/dialogs.h"
#include "toolkit/errors.h"
#include "toolkit/numeric.h"
#include "toolkit/textin.h"

#include <QFileInfo>

#include <optional>
#include <string>

namespace Module1 {

namespace {

// Far beyond any model the tables can hold, comments included. Only what comes
// before the model is complete counts: the rest of the file is never read.
constexpr std::int64_t maxModelBytes = std::int64_t(64) << 20;

// Fields split at single spaces; past the last one every field is empty.
class Fields {
public:
    explicit Fields(std::string_view text) : rest_(text) {}
    std::string_view next()
    {
        if (done_)
            return {};
        const std::size_t sp = rest_.find(' ');
        if (sp == std::string_view::npos) {
            done_ = true;
            return rest_;
        }
        const std::string_view field = rest_.substr(0, sp);
        rest_.remove_prefix(sp + 1);
        return field;
    }

private:
    std::string_view rest_;
    bool done_ = false;
};

// Reads the model line by line up to its last record.
class ModelParser {
public:
    ModelParser(toolkit::TextInputStream& in, const QString& name) : in_(in), name_(name) {}

    ParsedModel parse()
    {
        ParsedModel m;
        m.pointCount = count(maxPoints, "points");
        if (m.pointCount > 0)
            m.points.resize(static_cast<std::size_t>(m.pointCount));
        for (auto& p : m.points) {
            nextSignificantLine();
            p = recordFields();
        }

        m.lineCount = count(maxLines, "line records");
        if (m.lineCount > 0)
            m.lines.resize(static_cast<std::size_t>(m.lineCount));
        for (auto& r : m.lines) {
            nextSignificantLine();
            const auto& f = recordFields();
            r = {toolkit::truncToInt64(f[0]), toolkit::truncToInt64(f[1])};
        }
        return m;
    }

private:
    // A count line: the value of the whole line, not cleaned up or split.
    std::int64_t count(std::int64_t limit, const char* what)
    {
        nextSignificantLine();
        const std::int64_t n = toolkit::truncToInt64(toolkit::Val(line_));
        if (n > limit)
            throw toolkit::UnsupportedFormatException("The model \"" + name_.toStdString() + "\" has "
                                                      + std::to_string(n) + " " + what + "; at most "
                                                      + std::to_string(limit) + " are supported.");
        return n;
    }

    // Skips empty and comment lines. At the end of the file the line text keeps
    // its last value (a skipped line, or the previous count or cleaned record),
    // so a file that ends early repeats that text for everything still missing.
    void nextSignificantLine()
    {
        while (!in_.EndOfFile()) {
            if (!in_.ReadLine(line_, maxModelBytes))
                throw toolkit::UnsupportedFormatException(
                    "The file \"" + in_.path().toStdString()
                    + "\" holds more than 64 MB before its model is complete; it cannot be a model file.");
            fieldsKnown_ = false;
            if (!line_.empty() && line_.front() != '#')
                return;
        }
    }

    // The values of the first three fields of the cleaned line. A line repeated at
    // an early end gives the same fields every time: it is cleaned and split once.
    const std::array<double, 3>& recordFields()
    {
        if (!fieldsKnown_) {
            cleanUp();
            Fields f(line_);
            for (double& v : fields_)
                v = toolkit::Val(f.next());
            fieldsKnown_ = true;
        }
        return fields_;
    }

    // Runs of spaces become one space, then one leading space goes; in place, in
    // one pass over the line.
    void cleanUp()
    {
        std::size_t out = 0;
        bool previousSpace = false;
        for (const char c : line_) {
            if (c == ' ' && previousSpace)
                continue;
            previousSpace = c == ' ';
            line_[out++] = c;
        }
        line_.resize(out);
        if (!line_.empty() && line_.front() == ' ')
            line_.erase(0, 1);
    }

    toolkit::TextInputStream& in_;
    const QString& name_;
    std::string line_;
    std::array<double, 3> fields_{};
    bool fieldsKnown_ = false;
};

} // namespace

ParsedModel parseModel(toolkit::TextInputStream& in, const QString& name) { return ModelParser(in, name).parse(); }

ParsedModel parseModel(std::string_view text, const QString& name)
{
    const auto in = toolkit::TextInputStream::FromText(text, name);
    return parseModel(*in, name);
}

void storeRows(const ParsedModel& model, PointTable& punkt, LineTable& linie)
{
    std::int64_t i = 0;
    for (const auto& p : model.points) {
        ++i;
        punkt(i, 1) = p[0];
        punkt(i, 2) = p[1];
        punkt(i, 3) = p[2];
    }
    std::int64_t j = 0;
    for (const auto& r : model.lines) {
        ++j;
        linie(j, 1) = r[0];
        linie(j, 2) = r[1];
    }
    punkt.clearRowsFrom(i + 1);
    linie.clearRowsFrom(j + 1);
}

void datenlesen()
{
    const std::optional<QString> chosen = toolkit::GetOpenFolderItem();
    if (!chosen)
        return;

    // Everything is read and checked first: a file that fails leaves the old model
    // whole. The file is closed once it is read.
    const QString name = QFileInfo(*chosen).fileName();
    const ParsedModel m = parseModel(*toolkit::TextInputStream::OpenAsTextFile(*chosen), name);

    datname = name;
    anzpkt = m.pointCount;
    anzlin = m.lineCount;
    storeRows(m, punkt, linie);

    if (hooks().closeDebugWindow)
        hooks().closeDebugWindow();
    debugpkt = 0;
    debuglinie = 0;
}

} // namespace Module1
