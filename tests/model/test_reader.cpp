// The model file reader: the format and its edge cases, parsed from texts; and
// datenlesen, which stores a model it read in the shared state, and leaves the model
// that was there before untouched when a file cannot be used.
#include "model/module1.h"
#include "model/reader.h"
#include "tests/support/model.h"
#include "tests/support/seams.h"
#include "toolkit/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <limits>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Module1;

using Points = QList<QList<double>>;
using Records = QList<QList<qint64>>;

namespace {

constexpr double dmax = std::numeric_limits<double>::max();
constexpr qint64 imax = std::numeric_limits<qint64>::max();
constexpr qint64 imin = std::numeric_limits<qint64>::min();

// What an earlier model left in the tables; every row differs, so a stray write shows.
double oldPoint(std::int64_t i, std::int64_t k) { return -(double(i) * 10.0 + double(k)) - 0.25; }
qint64 oldRecord(std::int64_t j, std::int64_t k) { return 100000 + j * 10 + k; }

QString fixture(const char* name) { return QStringLiteral(QEL_TEST_DATA "/") + QString::fromUtf8(name); }

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return f.readAll();
}

ParsedModel parse(const QByteArray& text)
{
    return parseModel(std::string_view(text.constData(), std::size_t(text.size())), QStringLiteral("m.qel"));
}

// Writes content, then grows the file to `size` bytes (0 for none) with NUL bytes;
// the growth costs no disk space.
bool writeFile(const QString& path, const QByteArray& content, qint64 size = 0)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size()
        && (size == 0 || f.resize(size));
}

Points repeat(int n, QList<double> row) { return Points(n, row); }
Records repeat(int n, QList<qint64> row) { return Records(n, row); }

// Everything a read could touch.
struct Snapshot {
    std::int64_t anzpkt, anzlin, debugpkt, debuglinie, zoomfaktor, origx, origy;
    QString datname;
    std::vector<double> punkt, view;
    std::vector<std::int64_t> linie;

    static Snapshot take()
    {
        Snapshot s{Module1::anzpkt,
                   Module1::anzlin,
                   Module1::debugpkt,
                   Module1::debuglinie,
                   Module1::zoomfaktor,
                   Module1::origx,
                   Module1::origy,
                   Module1::datname,
                   {},
                   {},
                   {}};
        for (std::int64_t i = 0; i <= 3000; ++i) {
            for (std::int64_t k = 0; k <= 3; ++k)
                s.punkt.push_back(Module1::punkt(i, k));
            for (std::int64_t k = 0; k <= 2; ++k)
                s.linie.push_back(Module1::linie(i, k));
        }
        for (std::int64_t r = 0; r <= 3; ++r)
            for (std::int64_t c = 0; c <= 2; ++c)
                s.view.push_back(Module1::basis(r, c));
        for (std::int64_t i = 0; i <= 3; ++i)
            s.view.push_back(Module1::rotwinkel(i));
        return s;
    }
    bool operator==(const Snapshot&) const = default;
};

} // namespace

class TestReader : public QObject {
    Q_OBJECT

public:
    ~TestReader() override
    {
        for (const int fd : pipe_)
            if (fd >= 0)
                ::close(fd);
    }

private slots:
    void init();
    void cleanup();

    void readsModel_data();
    void readsModel();
    void lineEnds_data();
    void lineEnds();
    void storesWhatItReads_data();
    void storesWhatItReads();
    void smallerModelLeavesNoTrace();
    void datnameIsTheFileName();
    void cancelChangesNothing();
    void tooLargeModelChangesNothing_data();
    void tooLargeModelChangesNothing();
    void unreadableFileChangesNothing_data();
    void unreadableFileChangesNothing();
    void trailingTextIsNotRead_data();
    void trailingTextIsNotRead();
    void longLines_data();
    void longLines();

private:
    void addModelColumns();
    void checkParsed(const ParsedModel& m);
    void checkRead(const QString& path);

    QTemporaryDir tmp_;
    int pipe_[2] = {-1, -1}; // a pipe whose writer stays open and never writes
    int closeCalls_ = 0;
    std::int64_t seenAnzpkt_ = 0, seenAnzlin_ = 0;
    QString seenDatname_;
};

void TestReader::init()
{
    // An older model with full tables and a debug window that shows it.
    std::vector<support::Point> points;
    std::vector<support::Record> records;
    for (std::int64_t i = 1; i <= 3000; ++i) {
        points.push_back({oldPoint(i, 1), oldPoint(i, 2), oldPoint(i, 3)});
        records.push_back({oldRecord(i, 1), oldRecord(i, 2)});
    }
    support::loadModel(QStringLiteral("older.qel"), points, records);
    debugpkt = 3;
    debuglinie = 4;
    // A view that is not the start view: the reader must leave it alone.
    rotwinkel(1) = 0.5;
    rotwinkel(3) = -1.25;
    zoomfaktor = 7;
    origx = -30;
    origy = 450;
    rotation2();

    closeCalls_ = 0;
    seenAnzpkt_ = seenAnzlin_ = -99;
    seenDatname_.clear();
    hooks().closeDebugWindow = [this] {
        ++closeCalls_;
        seenAnzpkt_ = anzpkt;
        seenAnzlin_ = anzlin;
        seenDatname_ = datname;
    };
    QVERIFY(tmp_.isValid());
}

void TestReader::cleanup() { support::resetSeams(); }

void TestReader::addModelColumns()
{
    QTest::addColumn<qint64>("points");
    QTest::addColumn<qint64>("records");
    QTest::addColumn<Points>("pointRows");
    QTest::addColumn<Records>("recordRows");
}

// Checks a parsed model against the current data row: the counts and every row.
void TestReader::checkParsed(const ParsedModel& m)
{
    QFETCH(qint64, points);
    QFETCH(qint64, records);
    QFETCH(Points, pointRows);
    QFETCH(Records, recordRows);

    QCOMPARE(m.pointCount, points);
    QCOMPARE(m.lineCount, records);
    Points gotPoints;
    for (const auto& p : m.points)
        gotPoints << QList<double>{p[0], p[1], p[2]};
    QCOMPARE(gotPoints, pointRows);
    Records gotRecords;
    for (const auto& r : m.lines)
        gotRecords << QList<qint64>{r[0], r[1]};
    QCOMPARE(gotRecords, recordRows);
}

// Reads path and checks the result against the current data row: the counts, the
// rows it gives, zeros in every row above them, the name, the debug window closed
// after the model was stored, the marks cleared, the view untouched.
void TestReader::checkRead(const QString& path)
{
    QFETCH(qint64, points);
    QFETCH(qint64, records);
    QFETCH(Points, pointRows);
    QFETCH(Records, recordRows);

    const Snapshot before = Snapshot::take();
    support::answerOpenDialog(path);
    datenlesen();

    QCOMPARE(anzpkt, points);
    QCOMPARE(anzlin, records);
    for (qsizetype i = 1; i <= pointRows.size(); ++i)
        QCOMPARE((QList<double>{punkt(i, 1), punkt(i, 2), punkt(i, 3)}), pointRows[i - 1]);
    for (qsizetype j = 1; j <= recordRows.size(); ++j)
        QCOMPARE((QList<qint64>{linie(j, 1), linie(j, 2)}), recordRows[j - 1]);
    for (std::int64_t i = pointRows.size() + 1; i <= 3000; ++i)
        for (std::int64_t k = 0; k <= 3; ++k)
            QCOMPARE(punkt(i, k), 0.0);
    for (std::int64_t j = recordRows.size() + 1; j <= 3000; ++j)
        for (std::int64_t k = 0; k <= 2; ++k)
            QCOMPARE(linie(j, k), 0);
    for (std::int64_t k = 0; k <= 3; ++k)
        QCOMPARE(punkt(0, k), 0.0);
    for (std::int64_t k = 0; k <= 2; ++k)
        QCOMPARE(linie(0, k), 0);

    const QString name = QFileInfo(path).fileName();
    QCOMPARE(datname, name);
    QCOMPARE(closeCalls_, 1);
    QCOMPARE(seenAnzpkt_, points);
    QCOMPARE(seenAnzlin_, records);
    QCOMPARE(seenDatname_, name);
    QCOMPARE(debugpkt, 0);
    QCOMPARE(debuglinie, 0);

    const Snapshot after = Snapshot::take();
    QCOMPARE(after.view, before.view);
    QCOMPARE(after.zoomfaktor, before.zoomfaktor);
    QCOMPARE(after.origx, before.origx);
    QCOMPARE(after.origy, before.origy);
}

void TestReader::readsModel_data()
{
    QTest::addColumn<QString>("file");
    addModelColumns();

    const Points square{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const Records squarePath{{1, 0}, {2, 15}, {3, 15}, {4, 15}, {1, 15}};
    QTest::newRow("unit square") << fixture("square.qel") << qint64(4) << qint64(5) << square << squarePath;

    QTest::newRow("empty file") << fixture("empty.qel") << qint64(0) << qint64(0) << Points{} << Records{};
    QTest::newRow("empty lines only") << fixture("empty_lines.qel") << qint64(0) << qint64(0) << Points{} << Records{};
    // Both counts are the value of the last comment text, which is no number.
    QTest::newRow("comment lines only") << fixture("comments_only.qel") << qint64(0) << qint64(0) << Points{}
                                        << Records{};

    // Count "  5.7"; points "1 2", "1 2 3 4", spaces only, "  # word", tab-separated;
    // records " 2.9  15.7" and "-3 1".
    QTest::newRow("fields") << fixture("fields.qel") << qint64(5) << qint64(2)
                            << Points{{1, 2, 0}, {1, 2, 3}, {0, 0, 0}, {0, 0, 0}, {1, 0, 0}}
                            << Records{{2, 15}, {-3, 1}};
    QTest::newRow("number forms") << fixture("numbers.qel") << qint64(3) << qint64(1)
                                  << Points{{-15, 2, 0.5}, {5, 1, dmax}, {-dmax, 0, 0}} << Records{{imax, imin}};

    // The file ends early: what is missing repeats the last text read.
    QTest::newRow("ends after a comment line")
        << fixture("eof_comment.qel") << qint64(2) << qint64(0) << Points{{1, 2, 3}, {0, 4, 5}} << Records{};
    QTest::newRow("ends after a record line")
        << fixture("eof_record.qel") << qint64(1) << qint64(7) << Points{{7, 8, 9}} << repeat(7, QList<qint64>{7, 8});
    QTest::newRow("ends after the point count") << fixture("eof_count.qel") << qint64(2) << qint64(2)
                                                << Points{{2, 0, 0}, {2, 0, 0}} << Records{{2, 0}, {2, 0}};
    QTest::newRow("3000 points from one line")
        << fixture("count_3000.qel") << qint64(3000) << qint64(3000) << repeat(3000, QList<double>{3000, 0, 0})
        << repeat(3000, QList<qint64>{3000, 0});

    QTest::newRow("counts 0, later lines unread")
        << fixture("count_zero.qel") << qint64(0) << qint64(0) << Points{} << Records{};
    QTest::newRow("negative counts") << fixture("count_negative.qel") << qint64(-2) << qint64(-3) << Points{}
                                     << Records{};
    // "points" reads 0, so the first point line is taken for the record count.
    QTest::newRow("count without a number")
        << fixture("count_no_number.qel") << qint64(0) << qint64(1) << Points{} << Records{{2, 15}};
    QTest::newRow("byte order mark") << fixture("bom.qel") << qint64(2) << qint64(1) << Points{{1, 1, 1}, {2, 2, 2}}
                                     << Records{{2, 9}};
}

void TestReader::readsModel()
{
    QFETCH(QString, file);
    checkParsed(parse(contentOf(file)));
}

void TestReader::lineEnds_data()
{
    QTest::addColumn<QByteArray>("content");
    addModelColumns();

    QFile f(fixture("square.qel"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray lf = f.readAll();
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    QByteArray cr = lf;
    cr.replace('\n', '\r');
    QByteArray mixed = lf;
    mixed.replace("0 0 0\n", "0 0 0\r").replace("15\n", "15\r\n");

    const Points square{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const Records path{{1, 0}, {2, 15}, {3, 15}, {4, 15}, {1, 15}};
    const struct {
        const char* name;
        QByteArray content;
    } variants[] = {{"LF", lf},
                    {"CR LF", crlf},
                    {"CR", cr},
                    {"mixed", mixed},
                    {"LF, no last", lf.chopped(1)},
                    {"CR LF, no last", crlf.chopped(2)},
                    {"CR, no last", cr.chopped(1)}};
    for (const auto& v : variants)
        QTest::newRow(v.name) << v.content << qint64(4) << qint64(5) << square << path;

    // A line end is one line end: were CR LF two, an empty line would come last and
    // be repeated instead of the count.
    const Points twice{{2, 0, 0}, {2, 0, 0}};
    const Records twiceRec{{2, 0}, {2, 0}};
    QTest::newRow("early end, CR LF") << QByteArray("2\r\n") << qint64(2) << qint64(2) << twice << twiceRec;
    QTest::newRow("early end, CR") << QByteArray("2\r") << qint64(2) << qint64(2) << twice << twiceRec;
    QTest::newRow("early end after empty line, CR LF")
        << QByteArray("2\r\n\r\n") << qint64(2) << qint64(0) << Points{{0, 0, 0}, {0, 0, 0}} << Records{};
}

void TestReader::lineEnds()
{
    QFETCH(QByteArray, content);
    checkParsed(parse(content));
}

// What datenlesen reads is what the parser gives, stored in rows 1 to the counts.
void TestReader::storesWhatItReads_data()
{
    QTest::addColumn<QString>("file");
    addModelColumns();
    QTest::newRow("unit square") << fixture("square.qel") << qint64(4) << qint64(5)
                                 << Points{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}
                                 << Records{{1, 0}, {2, 15}, {3, 15}, {4, 15}, {1, 15}};
    QTest::newRow("empty file") << fixture("empty.qel") << qint64(0) << qint64(0) << Points{} << Records{};
    QTest::newRow("negative counts") << fixture("count_negative.qel") << qint64(-2) << qint64(-3) << Points{}
                                     << Records{};
    QTest::newRow("ends after a record line")
        << fixture("eof_record.qel") << qint64(1) << qint64(7) << Points{{7, 8, 9}} << repeat(7, QList<qint64>{7, 8});
    QTest::newRow("3000 points from one line")
        << fixture("count_3000.qel") << qint64(3000) << qint64(3000) << repeat(3000, QList<double>{3000, 0, 0})
        << repeat(3000, QList<qint64>{3000, 0});
}

void TestReader::storesWhatItReads()
{
    QFETCH(QString, file);
    checkRead(file);
}

void TestReader::smallerModelLeavesNoTrace()
{
    support::answerOpenDialog(fixture("five.qel"));
    datenlesen();
    support::answerOpenDialog(fixture("two.qel"));
    datenlesen();

    QCOMPARE(anzpkt, 2);
    QCOMPARE(anzlin, 3);
    QCOMPARE(datname, QStringLiteral("two.qel"));
    const double x[] = {-1, -2, 0, 0, 0, 0};
    for (int i = 1; i <= 6; ++i)
        QCOMPARE((QList<double>{punkt(i, 1), punkt(i, 2), punkt(i, 3)}), (QList<double>{x[i - 1], 0, 0}));
    // The new records 2 and 3 lead to the rows of points 4 and 5, which now hold the
    // origin; records 4 and 5 of the larger model are gone.
    const qint64 rec[][2] = {{1, 7}, {4, 7}, {5, 7}, {0, 0}, {0, 0}, {0, 0}};
    for (int j = 1; j <= 6; ++j)
        QCOMPARE((QList<qint64>{linie(j, 1), linie(j, 2)}), (QList<qint64>{rec[j - 1][0], rec[j - 1][1]}));
    QCOMPARE(closeCalls_, 2);
}

void TestReader::datnameIsTheFileName()
{
    QVERIFY(QDir(tmp_.path()).mkpath(QStringLiteral("Mod elle")));
    const QString path = tmp_.filePath(QStringLiteral("Mod elle/W\u00FCrfel (2) \u00E4.qel"));
    QVERIFY(QFile::copy(fixture("square.qel"), path));
    support::answerOpenDialog(path);
    datenlesen();
    QCOMPARE(datname, QStringLiteral("W\u00FCrfel (2) \u00E4.qel"));
    QCOMPARE(anzpkt, 4);
}

void TestReader::cancelChangesNothing()
{
    const Snapshot before = Snapshot::take();
    datenlesen(); // the dialog answers "cancel"
    QVERIFY(Snapshot::take() == before);
    QCOMPARE(closeCalls_, 0);
}

void TestReader::tooLargeModelChangesNothing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");

    QTest::newRow("3001 points") << fixture("points_3001.qel")
                                 << "The model \"points_3001.qel\" has 3001 points; at most 3000 are supported.";
    QTest::newRow("5000 points") << fixture("points_5000.qel")
                                 << "The model \"points_5000.qel\" has 5000 points; at most 3000 are supported.";
    QTest::newRow("3001 line records") << fixture("lines_3001.qel")
                                       << "The model \"lines_3001.qel\" has 3001 line records; at most 3000 are "
                                          "supported.";
    QTest::newRow("1e30 line records") << fixture("lines_huge.qel")
                                       << "The model \"lines_huge.qel\" has 9223372036854775807 line records; at "
                                          "most 3000 are supported.";

    // Only what comes before the model is complete is bounded; past 64 MB the file
    // is refused, however it goes on.
    const auto tooLong = [](const QString& path) {
        return "The file \"" + path
            + "\" holds more than 64 MB before its model is complete; it cannot be a "
              "model file.";
    };
    const QString endless = tmp_.filePath(QStringLiteral("endless_line.qel"));
    QVERIFY(writeFile(endless, "3000\n1 2 3\n", qint64(65) << 20));
    QTest::newRow("a line without end past 64 MB") << endless << tooLong(endless);
    const QString comments = tmp_.filePath(QStringLiteral("comments_64mb.qel"));
    QByteArray block;
    for (int i = 0; i < 4096; ++i)
        block += "# a comment line of some length, again and again\n";
    QFile f(comments);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(f.write("2\n1 1 1\n") == 8);
    while (f.size() <= (qint64(64) << 20))
        QCOMPARE(f.write(block), block.size());
    f.close();
    QTest::newRow("comment lines past 64 MB") << comments << tooLong(comments);
}

void TestReader::tooLargeModelChangesNothing()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    const Snapshot before = Snapshot::take();
    support::answerOpenDialog(file);
    try {
        datenlesen();
        QFAIL("no error for a model above the capacity");
    } catch (const toolkit::UnsupportedFormatException& e) {
        QCOMPARE(QString::fromUtf8(e.what()), message);
    }
    QVERIFY(Snapshot::take() == before);
    QCOMPARE(closeCalls_, 0);
}

void TestReader::unreadableFileChangesNothing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("cause");
    QTest::newRow("no such file") << fixture("no such file.qel") << "No such file";
    // Opens, but reading from offset 0 fails.
    QTest::newRow("read error") << QStringLiteral("/proc/self/mem") << "Input/output error";

    // Paths that are no regular files are refused before anything could block.
    QTest::newRow("a folder") << QStringLiteral(QEL_TEST_DATA) << "it is a directory, not a regular file";

    // Opening a FIFO without a writer blocks for ever.
    const QString fifo = tmp_.filePath(QStringLiteral("fifo.qel"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QTest::newRow("a FIFO without a writer") << fifo << "it is a pipe (FIFO), not a regular file";
    const QString link = tmp_.filePath(QStringLiteral("link to fifo.qel"));
    QVERIFY(QFile::link(fifo, link));
    QTest::newRow("a link to a FIFO") << link << "it is a pipe (FIFO), not a regular file";

    // Reading a pipe whose writer never writes blocks for ever; /dev/stdin is often one.
    if (pipe_[0] < 0)
        QVERIFY(::pipe(pipe_) == 0);
    QTest::newRow("a pipe with a silent writer")
        << QStringLiteral("/proc/self/fd/%1").arg(pipe_[0]) << "it is a pipe (FIFO), not a regular file";
    struct stat in {};
    if (::fstat(0, &in) == 0 && !S_ISREG(in.st_mode))
        QTest::newRow("/dev/stdin") << QStringLiteral("/dev/stdin") << "not a regular file";

    const QString socketPath = tmp_.filePath(QStringLiteral("socket.qel"));
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    QVERIFY(encoded.size() < qsizetype(sizeof addr.sun_path));
    std::memcpy(addr.sun_path, encoded.constData(), std::size_t(encoded.size()));
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(sock >= 0);
    const bool bound = ::bind(sock, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    ::close(sock);
    QVERIFY(bound);
    QTest::newRow("a socket") << socketPath << "it is a socket, not a regular file";

    // Devices: /dev/zero never ends, /dev/null ends at once; neither is a model file.
    QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << "it is a character device, not a regular file";
    QTest::newRow("/dev/null") << QStringLiteral("/dev/null") << "it is a character device, not a regular file";
    // A block device node of our own, never opened: the check comes first.
    const QString block = tmp_.filePath(QStringLiteral("block.qel"));
    if (::mknod(QFile::encodeName(block).constData(), S_IFBLK | 0600, makedev(7, 0)) == 0)
        QTest::newRow("a block device") << block << "it is a block device, not a regular file";
}

void TestReader::unreadableFileChangesNothing()
{
    QFETCH(QString, path);
    QFETCH(QString, cause);
    if (!QFileInfo::exists(path) && path.startsWith(QLatin1String("/proc/")))
        QSKIP("no /proc on this system");
    const Snapshot before = Snapshot::take();
    support::answerOpenDialog(path);
    // A read that blocks ends the test with SIGALRM instead of hanging it.
    ::alarm(20);
    try {
        datenlesen();
        ::alarm(0);
        QFAIL("no error for a file that cannot be read");
    } catch (const toolkit::IOException& e) {
        ::alarm(0);
        const QString msg = QString::fromUtf8(e.what());
        QVERIFY2(msg.contains(path) && msg.contains(cause), e.what());
    }
    QVERIFY(Snapshot::take() == before);
    QCOMPARE(closeCalls_, 0);
}

// Nothing after the last expected record is read: however much follows, the model loads.
void TestReader::trailingTextIsNotRead_data()
{
    QTest::addColumn<QString>("file");
    addModelColumns();

    QFile f(fixture("square.qel"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray square = f.readAll();
    const Points points{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const Records path{{1, 0}, {2, 15}, {3, 15}, {4, 15}, {1, 15}};

    const QString nul = tmp_.filePath(QStringLiteral("square_then_nul.qel"));
    QVERIFY(writeFile(nul, square, qint64(200) << 20));
    QTest::newRow("200 MB of NUL bytes") << nul << qint64(4) << qint64(5) << points << path;
    const QString text = tmp_.filePath(QStringLiteral("square_then_text.qel"));
    QVERIFY(writeFile(text, square + "this is no record\n" + QByteArray(1 << 20, '7') + "\n#\n"));
    QTest::newRow("lines that would be records") << text << qint64(4) << qint64(5) << points << path;
}

void TestReader::trailingTextIsNotRead()
{
    QFETCH(QString, file);
    checkRead(file);
}

// Lines far longer than any record: the same result as short ones, also when an
// early end repeats them, and across the places where the file is read in pieces.
void TestReader::longLines_data()
{
    QTest::addColumn<QByteArray>("content");
    addModelColumns();

    const QByteArray blanks(1 << 20, ' ');
    // The last line, repeated: cleaned to "7 8" once, and the count reads it as 7.
    QTest::newRow("a blank line of 1 MB, then the end")
        << "3000\n" + blanks + "7" + blanks + "8" + blanks << qint64(3000) << qint64(7)
        << repeat(3000, QList<double>{7, 8, 0}) << repeat(7, QList<qint64>{7, 8});
    QTest::newRow("a comment line of 1 MB, then the end") << "2\n1 2 3\n#" + QByteArray(1 << 20, '5') << qint64(2)
                                                          << qint64(0) << Points{{1, 2, 3}, {0, 0, 0}} << Records{};
    QTest::newRow("a number of 1 MB digits") << "1\n0." + QByteArray(1 << 20, '0') + "25 -" + QByteArray(1 << 20, '9')
                                             << qint64(1) << qint64(0) << Points{{0, -dmax, 0}} << Records{};

    // The bound is inclusive: the model's last line may end exactly at byte 64 MB,
    // here after comment lines of 1 MB.
    const qsizetype bound = qsizetype(64) << 20;
    const QByteArray comment = "#" + QByteArray((1 << 20) - 2, 'c') + "\n";
    QByteArray atBound = "1\n4 5 6\n";
    const qsizetype room = bound - atBound.size() - 1; // for the comments, before "0"
    atBound.reserve(bound);
    atBound += "#" + QByteArray(room % comment.size() - 2, 'c') + "\n";
    for (qsizetype i = 0; i < room / comment.size(); ++i)
        atBound += comment;
    atBound += "0";
    QCOMPARE(atBound.size(), bound);
    QTest::newRow("the last line ending at byte 64 MB")
        << atBound << qint64(1) << qint64(0) << Points{{4, 5, 6}} << Records{};

    // CR LF is one line end also where the CR is the last byte of a piece read;
    // taken for two, an empty line would be repeated at the end instead of "7".
    for (const int boundary : {1 << 12, 1 << 13, 1 << 14, 1 << 15, 1 << 16, 1 << 17, 1 << 20}) {
        QByteArray content = "2\n7" + QByteArray(boundary - 4, ' ') + "\r\n";
        QCOMPARE(content.indexOf('\r'), boundary - 1);
        QTest::addRow("CR LF at byte %d", boundary)
            << content << qint64(2) << qint64(7) << repeat(2, QList<double>{7, 0, 0}) << repeat(7, QList<qint64>{7, 0});
        content.chop(1);
        QTest::addRow("CR at byte %d, then the end", boundary)
            << content << qint64(2) << qint64(7) << repeat(2, QList<double>{7, 0, 0}) << repeat(7, QList<qint64>{7, 0});
    }
}

void TestReader::longLines()
{
    QFETCH(QByteArray, content);
    try {
        checkParsed(parse(content));
    } catch (const toolkit::UnsupportedFormatException& e) {
        QFAIL(e.what());
    }
}

QTEST_APPLESS_MAIN(TestReader)
#include "test_reader.moc"
