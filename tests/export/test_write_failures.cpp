// Writes that fail for real: an error that names the file and its cause, nothing
// half-written, no existing file destroyed, and the OFF file whole when what comes
// after it fails. A target that is no regular file is left as it is.
#include "export/export.h"
#include "model/module1.h"
#include "tests/support/child_process.h"
#include "tests/support/files.h"
#include "tests/support/model.h"
#include "tests/support/seams.h"
#include "toolkit/errors.h"
#include "toolkit/resources.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The system calls of this program that the writer uses: the toolkit is linked in
// statically, so its calls come here. The sync fails with syncError when that is
// set, after running duringSync; the next interruptedWrites writes to a file (not
// a standard stream) fail with EINTR, as a write a signal interrupts before it has
// written anything; an unnamed temporary file (O_TMPFILE) cannot be made when
// tmpfileError is set, as on a file system that has none.
int syncError = 0;
std::function<void()> duringSync;
int interruptedWrites = 0;
int tmpfileError = 0;

} // namespace

extern "C" int fsync(int fd)
{
    if (duringSync)
        duringSync();
    if (syncError != 0) {
        errno = syncError;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" ssize_t write(int fd, const void* bytes, size_t count)
{
    if (fd > STDERR_FILENO && interruptedWrites > 0) {
        --interruptedWrites;
        errno = EINTR;
        return -1;
    }
    return ::syscall(SYS_write, fd, bytes, count);
}

extern "C" int open(const char* file, int flags, ...)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list rest;
        va_start(rest, flags);
        mode = va_arg(rest, mode_t);
        va_end(rest);
    }
    if ((flags & O_TMPFILE) == O_TMPFILE && tmpfileError != 0) {
        errno = tmpfileError;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_openat, AT_FDCWD, file, flags, mode));
}

namespace {

// What identifies a node: its type and permissions, its device numbers, its inode.
struct Node {
    mode_t mode = 0;
    dev_t rdev = 0;
    ino_t ino = 0;
    bool operator==(const Node&) const = default;
};

Node nodeAt(const QString& path, bool followLinks)
{
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if ((followLinks ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st)) != 0)
        return {};
    return {st.st_mode, st.st_rdev, st.st_ino};
}

// A Unix socket bound at path; the node stays after the socket is closed.
bool makeSocket(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
}

// Runs body and returns the message of the error it must raise (of type E).
template <class E>
QString errorOf(const std::function<void()>& body)
{
    try {
        body();
    } catch (const E& e) {
        return QString::fromUtf8(e.what());
    } catch (const std::exception& e) {
        return QStringLiteral("wrong error: ") + QString::fromUtf8(e.what());
    }
    return QStringLiteral("no error");
}

// The message of the IOException that the picture's save or the OFF export raises.
QString saveFails(bool picture)
{
    if (!picture)
        return errorOf<toolkit::IOException>(Module1::saveoff);
    Module1::init();
    return errorOf<toolkit::IOException>(Module1::savepic);
}

// In a child process: the export args[0] ("off", "page", "classes" or "picture")
// into the file the dialog answers, args[1], of the square or, when args[2] is
// "big", of a model of 3000 points.
const support::ChildJob exportJob("export", [](const QStringList& args) {
    const QString what = args.at(0);
    if (args.at(2) == "big") {
        std::vector<support::Point> points;
        for (int k = 1; k <= Module1::maxPoints; ++k)
            points.push_back({k * 0.25, -k * 1.5, k * 1e-3});
        support::loadModel(QStringLiteral("big.qel"), points, {});
    } else {
        support::loadSquare();
    }
    Module1::htmlsave = what == "page" || what == "classes";
    Module1::javasave = what == "classes";
    support::SaveDialog dialog(args.at(1));
    if (what == "picture") {
        Module1::init();
        Module1::savepic();
    } else {
        Module1::saveoff();
    }
    return QStringLiteral("no error");
});

// In a child process: the OFF export of the square into args[0], which stops in
// the sync, once it has said so, until the process is killed.
const support::ChildJob stopsInSyncJob("stops in sync", [](const QStringList& args) {
    support::loadSquare();
    duringSync = [] {
        std::fputs("in sync\n", stdout);
        std::fflush(stdout);
        for (;;)
            ::pause();
    };
    support::SaveDialog dialog(args.at(0));
    Module1::saveoff();
    return QStringLiteral("no error");
});

} // namespace

class TestWriteFailures : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    // Makes the place named by `kind` unwritable and returns the path to write to.
    QString blockedPath(const QString& kind, const QString& name)
    {
        if (kind == "folder missing")
            return path(QStringLiteral("no/such/") + name);
        if (kind == "below a regular file") {
            support::writeBytes(path(QStringLiteral("plain")), "plain file");
            return path(QStringLiteral("plain/") + name);
        }
        // "name is a folder", with something inside that must survive
        QDir(dir.path()).mkpath(name + QStringLiteral("/inside"));
        return path(name);
    }

    static void addKinds()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder missing") << "folder missing";
        QTest::newRow("name is a folder") << "name is a folder";
        QTest::newRow("below a regular file") << "below a regular file";
    }

    static void verifyNames(const QString& message, const QString& file)
    {
        QVERIFY2(message.contains(QLatin1Char('"') + file + QLatin1Char('"')), qPrintable(message));
        // ... and the cause after the name.
        QVERIFY2(message.section(file + QStringLiteral("\": "), 1).size() > 3, qPrintable(message));
    }

private slots:
    void init()
    {
        support::loadSquare();
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }
    void cleanup()
    {
        syncError = 0;
        duringSync = nullptr;
        interruptedWrites = 0;
        tmpfileError = 0;
        support::resetSeams();
    }

    void offFileCannotBeCreated_data() { addKinds(); }
    void offFileCannotBeCreated()
    {
        QFETCH(QString, kind);
        const QString target = blockedPath(kind, QStringLiteral("m.off"));
        const QStringList before = support::entries(dir.path());
        support::SaveDialog dialog(target);
        Module1::htmlsave = true;
        verifyNames(errorOf<toolkit::IOException>(Module1::saveoff), target);
        QCOMPARE(support::entries(dir.path()), before);
        if (kind == "name is a folder")
            QVERIFY(QFileInfo(target + QStringLiteral("/inside")).isDir());
        if (kind == "below a regular file")
            QCOMPARE(support::bytesOf(path(QStringLiteral("plain"))), QByteArray("plain file"));
    }

    // An export that fails half way (here: more points than the table holds) leaves
    // the existing file as it was and no temporary file behind.
    void failureHalfWayKeepsTheExistingFile()
    {
        support::writeBytes(path(QStringLiteral("m.off")), "the previous export");
        Module1::anzpkt = Module1::maxPoints + 1;
        support::SaveDialog dialog(path(QStringLiteral("m.off")));
        const QString message = errorOf<toolkit::OutOfBoundsException>(Module1::saveoff);
        QVERIFY2(message.startsWith(QStringLiteral("Out of bounds")), qPrintable(message));
        QCOMPARE(support::bytesOf(path(QStringLiteral("m.off"))), QByteArray("the previous export"));
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("m.off")});
    }

    void pageFailsOffFileStaysWhole()
    {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("m.htm")));
        support::SaveDialog dialog(path(QStringLiteral("m.off")));
        Module1::htmlsave = true;
        Module1::javasave = true;
        verifyNames(errorOf<toolkit::IOException>(Module1::saveoff), path(QStringLiteral("m.htm")));
        QCOMPARE(support::bytesOf(path(QStringLiteral("m.off"))), support::squareOff);
        // The class files come after the page and are not begun.
        QCOMPARE(support::entries(dir.path()), (QStringList{"m.htm", "m.off"}));
    }

    void classFileCannotBeCreated_data() { addKinds(); }
    void classFileCannotBeCreated()
    {
        QFETCH(QString, kind);
        const QString target = blockedPath(kind, QStringLiteral("Viewer41.class"));
        const QString folder = target.left(target.size() - int(qstrlen("Viewer41.class")));
        verifyNames(errorOf<toolkit::IOException>([&] { Module1::savejava(folder); }), target);
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("Face.class"))));
    }

    // A class file missing from the resources is an error, not an empty file; the
    // existing file stays, and the next export looks the resource up again.
    void missingResource()
    {
        support::writeBytes(path(QStringLiteral("Face.class")), "old Face");
        bool faceMissing = true;
        toolkit::setResourceLookup([&](const QString& name) -> std::optional<QByteArray> {
            if (faceMissing && name == QStringLiteral("Face.class"))
                return std::nullopt;
            return support::builtInResource(name);
        });
        const QString folder = dir.path() + QLatin1Char('/');
        const QString message = errorOf<toolkit::NilObjectException>([&] { Module1::savejava(folder); });
        QVERIFY2(message.contains(QStringLiteral("Face.class")), qPrintable(message));
        QCOMPARE(support::bytesOf(path(QStringLiteral("Face.class"))), QByteArray("old Face"));
        QCOMPARE(support::entries(dir.path()), (QStringList{"Face.class", "Viewer41.class"}));

        faceMissing = false;
        Module1::savejava(folder);
        QCOMPARE(support::bytesOf(path(QStringLiteral("Face.class"))),
                 support::builtInResource(QStringLiteral("Face.class")));
        QCOMPARE(support::entries(dir.path()).size(), 4);
    }

    void pictureCannotBeWritten_data() { addKinds(); }
    void pictureCannotBeWritten()
    {
        QFETCH(QString, kind);
        Module1::init();
        const QString target = blockedPath(kind, QStringLiteral("bild.png"));
        const QStringList before = support::entries(dir.path());
        support::SaveDialog dialog(target);
        verifyNames(errorOf<toolkit::IOException>(Module1::savepic), target);
        QCOMPARE(support::entries(dir.path()), before);
    }

    // A write that fails late, past a file size limit, also below the 16 KB that Qt
    // would hold back until the commit: the old file stays byte for byte, nothing
    // half-written is left beside it, what was finished before stays whole, and the
    // error names the file and the system's cause.
    void lateWriteFailure_data()
    {
        QTest::addColumn<QString>("what");        // the export that runs
        QTest::addColumn<QString>("target");      // the file that cannot be written whole
        QTest::addColumn<int>("limit");           // the size a file may grow to
        QTest::addColumn<bool>("bigModel");       // 3000 points instead of the square
        QTest::addColumn<QStringList>("entries"); // the folder afterwards
        QTest::newRow("OFF file of 105 bytes") << "off"
                                               << "m.off" << 50 << false << QStringList{"m.off"};
        QTest::newRow("OFF file above 16 KB") << "off"
                                              << "m.off" << 20000 << true << QStringList{"m.off"};
        QTest::newRow("page") << "page"
                              << "m.htm" << 150 << false << QStringList{"m.htm", "m.off"};
        QTest::newRow("class file") << "classes"
                                    << "Viewer41.class" << 4096 << false
                                    << QStringList{"Viewer41.class", "m.htm", "m.off"};
        QTest::newRow("picture below 16 KB") << "picture"
                                             << "bild.png" << 100 << false << QStringList{"bild.png"};
        QTest::newRow("picture above 16 KB") << "picture"
                                             << "bild.bmp" << 20000 << false << QStringList{"bild.bmp"};
    }
    void lateWriteFailure()
    {
        QFETCH(QString, what);
        QFETCH(QString, target);
        QFETCH(int, limit);
        QFETCH(bool, bigModel);
        QFETCH(QStringList, entries);
        const QByteArray old = "the file as it was before, " + target.toUtf8() + "\n";
        support::writeBytes(path(target), old);
        const QString answer = path(what == "picture" ? target : QStringLiteral("m.off"));

        const QString result = support::inChildProcess(exportJob, {what, answer, bigModel ? "big" : "square"},
                                                       support::fileSizeLimit(rlim_t(limit)));

        const QString expected = QStringLiteral("error: Cannot write the file \"%1\": %2")
                                     .arg(path(target), QString::fromLocal8Bit(std::strerror(EFBIG)));
        QCOMPARE(result, expected);
        QCOMPARE(support::bytesOf(path(target)), old);
        QCOMPARE(support::entries(dir.path()), entries);
        if (what == "page" || what == "classes")
            QCOMPARE(support::bytesOf(path(QStringLiteral("m.off"))), support::squareOff);
        if (what == "classes")
            QVERIFY(support::bytesOf(path(QStringLiteral("m.htm"))).endsWith("</HTML>\r\n"));
    }

    // A target that exists and is no regular file, after its links are followed, is
    // refused before anything is written, and stays what it was. Renaming over it
    // would leave a plain file there for every other program.
    void specialTargetRefused_data()
    {
        QTest::addColumn<QString>("kind"); // the node at the target
        QTest::addColumn<QString>("what"); // the export: "off" or "picture"
        QTest::addColumn<QString>("says");
        const std::pair<const char*, const char*> kinds[] = {
            {"FIFO", "a pipe (FIFO)"}, {"character device", "a character device"}, {"block device", "a block device"},
            {"socket", "a socket"},    {"link to a FIFO", "a pipe (FIFO)"},
        };
        for (const auto& [kind, says] : kinds)
            for (const char* what : {"off", "picture"})
                QTest::addRow("%s, %s", kind, what) << kind << what << says;
    }
    void specialTargetRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, what);
        QFETCH(QString, says);
        const QString target = path(what == "off" ? QStringLiteral("m.off") : QStringLiteral("bild.png"));
        const QByteArray name = QFile::encodeName(target);
        QString node = target; // the special file itself
        if (kind == "FIFO") {
            QCOMPARE(::mkfifo(name.constData(), 0644), 0);
        } else if (kind == "character device") {
            // The numbers of /dev/null: harmless should anything write into it.
            if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
                QSKIP("no device nodes can be made here");
        } else if (kind == "block device") {
            // A number for local use that no driver answers.
            if (::mknod(name.constData(), S_IFBLK | 0660, makedev(240, 7)) != 0)
                QSKIP("no device nodes can be made here");
        } else if (kind == "socket") {
            QVERIFY(makeSocket(target));
        } else {
            node = path(QStringLiteral("pipe"));
            QCOMPARE(::mkfifo(QFile::encodeName(node).constData(), 0644), 0);
            QVERIFY(QFile::link(QStringLiteral("pipe"), target));
        }
        const Node before = nodeAt(node, false);
        const Node linkBefore = nodeAt(target, false);
        const QStringList entries = support::entries(dir.path());
        support::SaveDialog dialog(target);

        QCOMPARE(saveFails(what == "picture"),
                 QStringLiteral("Cannot write the file \"%1\": it is %2, not a regular file; nothing was written")
                     .arg(target, says));
        QVERIFY(before.mode != 0);
        QCOMPARE(nodeAt(node, false), before);
        QCOMPARE(nodeAt(target, false), linkBefore);
        QCOMPARE(support::entries(dir.path()), entries);
    }

    // The target is looked at again just before the file is moved into place. What
    // has turned into a special file, or into another file, while the bytes were
    // written is not replaced; a target that is gone is written as a new file.
    void targetChangesMeanwhile_data()
    {
        QTest::addColumn<bool>("existing");    // m.off is there when the export begins
        QTest::addColumn<QString>("change");   // what happens to it during the sync
        QTest::addColumn<QString>("says");     // the error, "" for none
        QTest::addColumn<QByteArray>("bytes"); // in m.off afterwards
        const QByteArray other = "another program's file";
        QTest::newRow("becomes a FIFO") << true << "fifo"
                                        << "it is a pipe (FIFO), not a regular file; nothing was written"
                                        << QByteArray("<FIFO>");
        QTest::newRow("replaced by another file")
            << true << "other"
            << "it changed while it was being written; nothing was replaced" << other;
        QTest::newRow("made where there was none")
            << false << "other"
            << "it changed while it was being written; nothing was replaced" << other;
        QTest::newRow("removed") << true << "remove"
                                 << "" << support::squareOff;
    }
    void targetChangesMeanwhile()
    {
        QFETCH(bool, existing);
        QFETCH(QString, change);
        QFETCH(QString, says);
        QFETCH(QByteArray, bytes);
        const QString target = path(QStringLiteral("m.off"));
        if (existing) {
            support::writeBytes(target, "the previous export");
            QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0644), 0);
        }
        duringSync = [&] {
            if (change == "fifo") {
                QFile::remove(target);
                ::mkfifo(QFile::encodeName(target).constData(), 0644);
            } else if (change == "other") {
                // Made before the old file goes, so it cannot get the old file's inode.
                support::writeBytes(path(QStringLiteral("other")), "another program's file");
                ::chmod(QFile::encodeName(path(QStringLiteral("other"))).constData(), 0600);
                ::rename(QFile::encodeName(path(QStringLiteral("other"))).constData(),
                         QFile::encodeName(target).constData());
            } else {
                QFile::remove(target);
            }
        };
        support::SaveDialog dialog(target);
        const QString expected = says.isEmpty() ? QStringLiteral("no error")
                                                : QStringLiteral("Cannot write the file \"%1\": %2").arg(target, says);
        QCOMPARE(errorOf<toolkit::IOException>(Module1::saveoff), expected);
        if (change == "fifo")
            QVERIFY(S_ISFIFO(nodeAt(target, false).mode));
        else
            QCOMPARE(support::bytesOf(target), bytes);
        if (change == "other")
            QCOMPARE(nodeAt(target, false).mode & 07777, mode_t(0600));
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("m.off")});
    }

    // A system call of the write that fails. A sync that fails is how a network or
    // quota file system reports a late failure: the export fails, the old file stays,
    // no temporary file is left. A write a signal interrupts is made again.
    void callFails_data()
    {
        QTest::addColumn<QString>("call"); // "fsync" or "write"
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("existing"); // an older file is replaced
        QTest::newRow("sync: I/O error, OFF file replaced") << "fsync" << EIO << "m.off" << true;
        QTest::newRow("sync: disk full, picture replaced") << "fsync" << ENOSPC << "bild.png" << true;
        QTest::newRow("sync: quota, new OFF file") << "fsync" << EDQUOT << "m.off" << false;
        QTest::newRow("write: interrupted, OFF file replaced") << "write" << EINTR << "m.off" << true;
    }
    void callFails()
    {
        QFETCH(QString, call);
        QFETCH(int, error);
        QFETCH(QString, target);
        QFETCH(bool, existing);
        const QByteArray old = "the file as it was before\n";
        if (existing)
            support::writeBytes(path(target), old);
        support::SaveDialog dialog(path(target));
        if (call == "fsync")
            syncError = error;
        else
            interruptedWrites = 1;
        const bool picture = target.endsWith(QStringLiteral(".png"));
        const QString result = saveFails(picture);
        QCOMPARE(interruptedWrites, 0);
        if (error == EINTR) {
            QCOMPARE(result, QStringLiteral("no error"));
            QCOMPARE(support::bytesOf(path(target)), support::squareOff);
        } else {
            QCOMPARE(result,
                     QStringLiteral("Cannot write the file \"%1\": %2")
                         .arg(path(target), QString::fromLocal8Bit(std::strerror(error))));
            QCOMPARE(support::bytesOf(path(target)), existing ? old : QByteArrayLiteral("<missing>"));
        }
        QCOMPARE(support::entries(dir.path()), existing || error == EINTR ? QStringList{target} : QStringList{});
    }

    // A writer killed before its file is complete leaves nothing beside the target:
    // the bytes go to a file that has no name until it is whole.
    void killedWriterLeavesNothing_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("replacing a file") << true;
        QTest::newRow("a new file") << false;
    }
    void killedWriterLeavesNothing()
    {
        QFETCH(bool, existing);
        const QString target = path(QStringLiteral("m.off"));
        if (existing)
            support::writeBytes(target, "the previous export");
        support::ChildProcess child(stopsInSyncJob, {target});
        QVERIFY(child.waitForOutput("in sync\n"));
        child.kill();
        QCOMPARE(support::entries(dir.path()), existing ? QStringList{QStringLiteral("m.off")} : QStringList{});
        if (existing)
            QCOMPARE(support::bytesOf(target), QByteArray("the previous export"));
    }

    // Where the file system has no unnamed temporary files, the bytes go to a named
    // one beside the target, which is removed when the write fails; any other
    // error of the unnamed file is the export's error.
    void withoutUnnamedTemporaryFiles_data()
    {
        QTest::addColumn<int>("error");       // of the O_TMPFILE open
        QTest::addColumn<int>("syncFailure"); // then
        QTest::addColumn<QString>("says");    // the error, "" for none
        const QString cannotWrite = QStringLiteral("Cannot write the file \"@\": ");
        QTest::newRow("not supported") << EOPNOTSUPP << 0 << "";
        QTest::newRow("not supported, sync fails")
            << EOPNOTSUPP << EIO << cannotWrite + QString::fromLocal8Bit(std::strerror(EIO));
        QTest::newRow("unknown to the kernel (EISDIR)") << EISDIR << 0 << "";
        QTest::newRow("invalid") << EINVAL << 0 << "";
        QTest::newRow("disk full: no fallback")
            << ENOSPC << 0
            << QStringLiteral("Cannot create the file \"@\": ") + QString::fromLocal8Bit(std::strerror(ENOSPC));
    }
    void withoutUnnamedTemporaryFiles()
    {
        QFETCH(int, error);
        QFETCH(int, syncFailure);
        QFETCH(QString, says);
        const QString target = path(QStringLiteral("m.off"));
        support::writeBytes(target, "the previous export");
        QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0604), 0);
        QStringList seenInSync;
        duringSync = [&] { seenInSync = support::entries(dir.path()); };
        tmpfileError = error;
        syncError = syncFailure;
        support::SaveDialog dialog(target);

        const QString result = errorOf<toolkit::IOException>(Module1::saveoff);

        QCOMPARE(result, says.isEmpty() ? QStringLiteral("no error") : QString(says).replace('@', target));
        QCOMPARE(support::bytesOf(target), says.isEmpty() ? support::squareOff : QByteArray("the previous export"));
        QCOMPARE(nodeAt(target, false).mode & 07777, mode_t(0604));
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("m.off")});
        if (error != ENOSPC) {
            // During the sync the named temporary file stood beside the target.
            QCOMPARE(seenInSync.size(), 2);
            QVERIFY2(seenInSync[0].startsWith(QStringLiteral(".qel-")), qPrintable(seenInSync.join(' ')));
        }
    }

    void pictureBeforeTheOffScreenPictureExists()
    {
        support::SaveDialog dialog(path(QStringLiteral("bild.png")));
        const QString message = errorOf<toolkit::NilObjectException>(Module1::savepic);
        QVERIFY2(!message.startsWith(QStringLiteral("no error")) && !message.startsWith(QStringLiteral("wrong")),
                 qPrintable(message));
        QCOMPARE(support::entries(dir.path()), QStringList{});
    }
};

QEL_TEST_MAIN(TestWriteFailures)
#include "test_write_failures.moc"
