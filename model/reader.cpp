#include "model/module1.h"

#include "toolkit/dialogs.h"
#include "toolkit/errors.h"
#include "toolkit/numeric.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Module1 {

namespace {

// The lines of the file's bytes. LF, CR LF and a lone CR each end a line; a last
// line without a line end is a line too, a line end at the very end starts none.
class LineSource {
public:
    explicit LineSource(std::string_view bytes) : p_(bytes.data()), end_(bytes.data() + bytes.size()) {}

    bool atEnd() const { return p_ == end_; }

    std::string_view next()
    {
        const char* start = p_;
        while (p_ != end_ && *p_ != '\n' && *p_ != '\r')
            ++p_;
        const std::string_view line(start, static_cast<std::size_t>(p_ - start));
        if (p_ != end_) {
            if (*p_ == '\r' && p_ + 1 != end_ && p_[1] == '\n')
                p_ += 2;
            else
                ++p_;
        }
        return line;
    }

private:
    const char* p_;
    const char* end_;
};

struct ParsedModel {
    std::int64_t pointCount = 0;
    std::int64_t lineCount = 0;
    std::vector<std::array<double, 3>> points;
    std::vector<std::array<std::int64_t, 2>> lines;
};

// Reads the whole model into a ParsedModel; the shared state is not touched here.
class ModelParser {
public:
    ModelParser(std::string_view bytes, const QString& fileName) : src_(bytes), fileName_(fileName) {}

    ParsedModel parse()
    {
        ParsedModel m;

        nextSignificantLine();
        m.pointCount = toolkit::truncToInt64(toolkit::Val(line_));
        checkCapacity(m.pointCount, maxPoints, "points");
        if (m.pointCount > 0)
            m.points.resize(static_cast<std::size_t>(m.pointCount));
        for (auto& p : m.points) {
            nextSignificantLine();
            cleanUp();
            Fields f(line_);
            for (double& v : p)
                v = toolkit::Val(f.next());
        }

        nextSignificantLine();
        m.lineCount = toolkit::truncToInt64(toolkit::Val(line_));
        checkCapacity(m.lineCount, maxLines, "line records");
        if (m.lineCount > 0)
            m.lines.resize(static_cast<std::size_t>(m.lineCount));
        for (auto& r : m.lines) {
            nextSignificantLine();
            cleanUp();
            Fields f(line_);
            for (std::int64_t& v : r)
                v = toolkit::truncToInt64(toolkit::Val(f.next()));
        }
        return m;
    }

private:
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

    // Skips empty and comment lines. At the end of the file the line text keeps
    // its last value (a skipped line, or the previous count or cleaned record),
    // so a file that ends early repeats that text for everything still missing.
    void nextSignificantLine()
    {
        while (!src_.atEnd()) {
            line_ = src_.next();
            if (!line_.empty() && line_.front() != '#')
                return;
        }
    }

    // Runs of spaces become one space, then one leading space goes.
    void cleanUp()
    {
        const bool needed = (!line_.empty() && line_.front() == ' ') || line_.find("  ") != std::string_view::npos;
        if (!needed)
            return;
        // The line may already live in one buffer (a repeated, cleaned line): write the other.
        flip_ ^= 1;
        std::string& out = cleaned_[flip_];
        out.clear();
        bool previousSpace = false;
        for (const char c : line_) {
            if (c == ' ') {
                if (previousSpace)
                    continue;
                previousSpace = true;
            } else {
                previousSpace = false;
            }
            out.push_back(c);
        }
        if (!out.empty() && out.front() == ' ')
            out.erase(0, 1);
        line_ = out;
    }

    void checkCapacity(std::int64_t count, std::int64_t limit, const char* what) const
    {
        if (count <= limit)
            return;
        throw toolkit::UnsupportedFormatException("The model \"" + fileName_.toStdString() + "\" has "
                                                  + std::to_string(count) + " " + what + "; at most "
                                                  + std::to_string(limit) + " are supported.");
    }

    LineSource src_;
    QString fileName_;
    std::string_view line_;
    std::string cleaned_[2];
    int flip_ = 0;
};

// Far beyond any model of 3000 points and records, comments included; it keeps a
// device such as /dev/zero from filling the memory or never ending.
constexpr qint64 maxFileBytes = qint64(64) << 20;

QByteArray readWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw toolkit::IOException("Cannot open the model file \"" + path.toStdString()
                                   + "\": " + file.errorString().toStdString());
    // A device or pipe tells no size: read at most one byte past the limit.
    QByteArray bytes = file.isSequential() || file.size() > maxFileBytes ? file.read(maxFileBytes + 1) : file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw toolkit::IOException("Cannot read the model file \"" + path.toStdString()
                                   + "\": " + file.errorString().toStdString());
    if (bytes.size() > maxFileBytes)
        throw toolkit::UnsupportedFormatException("The file \"" + path.toStdString()
                                                  + "\" is larger than 64 MB; it cannot be a model file.");
    return bytes;
}

} // namespace

void datenlesen()
{
    const std::optional<QString> chosen = toolkit::GetOpenFolderItem();
    if (!chosen)
        return;

    const QString name = QFileInfo(*chosen).fileName();
    const QByteArray bytes = readWholeFile(*chosen);
    std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    // An editor's UTF-8 byte order mark is not part of the first line.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);

    // Everything is read and checked first: a file that fails leaves the old model whole.
    const ParsedModel m = ModelParser(text, name).parse();

    anzpkt = 0;
    anzlin = 0;
    datname = name;
    anzpkt = m.pointCount;
    for (std::int64_t i = 1; i <= m.pointCount; ++i) {
        const auto& p = m.points[static_cast<std::size_t>(i - 1)];
        punkt(i, 1) = p[0];
        punkt(i, 2) = p[1];
        punkt(i, 3) = p[2];
    }
    anzlin = m.lineCount;
    for (std::int64_t j = 1; j <= m.lineCount; ++j) {
        const auto& r = m.lines[static_cast<std::size_t>(j - 1)];
        linie(j, 1) = r[0];
        linie(j, 2) = r[1];
    }

    if (hooks().closeDebugWindow)
        hooks().closeDebugWindow();
    debugpkt = 0;
    debuglinie = 0;
}

} // namespace Module1
