// What an export keeps of the file it replaces: a symbolic link stays and its
// target gets the bytes, the owner, group and mode stay where the process may set
// them, a file its user may not write is left alone, and any name the folder can
// hold can be replaced.
#include "export/export.h"
#include "model/module1.h"
#include "tests/support/child_process.h"
#include "tests/support/files.h"
#include "tests/support/model.h"
#include "tests/support/seams.h"

#include <QTemporaryDir>
#include <QtTest>

#include <exception>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct stat statusOf(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        st.st_mode = 0;
    return st;
}

// The OFF export of the square into path; "done" or the message of its error.
QString exportTo(const QString& path)
{
    support::SaveDialog dialog(path);
    try {
        Module1::saveoff();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("done");
}

// The export of the square into args[0], in a child process.
const support::ChildJob exportJob("export", [](const QStringList& args) {
    support::loadSquare();
    return exportTo(args.at(0));
});

// A child that is root (user 0), or that user with the group of the same number,
// in group 4242 too when inGroup.
support::ChildSetup asUser(uint user, bool inGroup)
{
    if (user == 0)
        return {};
    return support::asUser(uid_t(user), inGroup ? std::vector<gid_t>{4242} : std::vector<gid_t>{});
}

} // namespace

class TestReplacing : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

private slots:
    void init()
    {
        support::loadSquare();
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }
    void cleanup() { support::resetSeams(); }

    // The export goes to m.off, which is a link (or a chain of them); the file the
    // links lead to gets the bytes and keeps its mode, the links stay as they were.
    void throughSymbolicLinks_data()
    {
        QTest::addColumn<QStringList>("links");   // "name>text" for each link
        QTest::addColumn<QString>("destination"); // the file that gets the bytes
        QTest::addColumn<bool>("existing");       // it is there before
        QTest::addColumn<QString>("error");       // else the error
        QTest::newRow("to a file in another folder")
            << QStringList{"m.off>real/target.off"} << "real/target.off" << true << "";
        QTest::newRow("a chain, relative and absolute")
            << QStringList{"m.off>sub/a", "sub/a>@/real/target.off"} << "real/target.off" << true << "";
        QTest::newRow("to a file still to be made")
            << QStringList{"m.off>real/new.off"} << "real/new.off" << false << "";
        QTest::newRow("a loop") << QStringList{"m.off>n.off", "n.off>m.off"} << "" << false
                                << "Cannot create the file \"@/m.off\": Too many levels of symbolic links";
    }
    void throughSymbolicLinks()
    {
        QFETCH(QStringList, links);
        QFETCH(QString, destination);
        QFETCH(bool, existing);
        QFETCH(QString, error);
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("real")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
        if (existing) {
            support::writeBytes(path(destination), "the previous export");
            QVERIFY(QFile::setPermissions(path(destination), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        }
        for (const QString& link : links) {
            const QString text = link.section(QLatin1Char('>'), 1).replace(QLatin1Char('@'), dir.path());
            QVERIFY(QFile::link(text, path(link.section(QLatin1Char('>'), 0, 0))));
        }
        const QStringList real = support::entries(path(QStringLiteral("real")));

        const QString expected = error.isEmpty() ? QStringLiteral("done") : QString(error).replace('@', dir.path());
        QCOMPARE(exportTo(path(QStringLiteral("m.off"))), expected);

        for (const QString& link : links) {
            const QString name = path(link.section(QLatin1Char('>'), 0, 0));
            QVERIFY2(QFileInfo(name).isSymLink(), qPrintable(name));
        }
        if (destination.isEmpty()) {
            QCOMPARE(support::entries(dir.path()), (QStringList{"m.off", "n.off", "real", "sub"}));
            QCOMPARE(support::entries(path(QStringLiteral("real"))), real);
            return;
        }
        QCOMPARE(support::bytesOf(path(destination)), support::squareOff);
        QCOMPARE(support::entries(path(QStringLiteral("real"))), QStringList{QFileInfo(destination).fileName()});
        if (existing)
            QCOMPARE(statusOf(path(destination)).st_mode & 07777, mode_t(0640));
    }

    // Run as root, or as another user in a child process, an export replaces a file
    // of uid and gid 4242. The new file keeps the owner where the process may give
    // it away, and the group wherever the process belongs to it; the mode always,
    // except a set-user-ID bit on a file whose owner could not be given, and a
    // set-group-ID bit on one whose group could not.
    void keepsOwnerGroupAndMode_data()
    {
        QTest::addColumn<uint>("user");    // the process's uid and gid, 0: root
        QTest::addColumn<bool>("inGroup"); // it belongs to group 4242 too
        QTest::addColumn<uint>("mode");    // of the old file
        QTest::addColumn<uint>("owner");   // of the new file
        QTest::addColumn<uint>("group");   // of the new file
        QTest::addColumn<uint>("newMode"); // of the new file
        QTest::newRow("root") << 0u << false << 0640u << 4242u << 4242u << 0640u;
        QTest::newRow("root, set-user-ID") << 0u << false << 04755u << 4242u << 4242u << 04755u;
        QTest::newRow("root, set-group-ID") << 0u << false << 02755u << 4242u << 4242u << 02755u;
        QTest::newRow("a user in the file's group") << 4243u << true << 0664u << 4243u << 4242u << 0664u;
        QTest::newRow("a user in the file's group, set-group-ID")
            << 4243u << true << 02775u << 4243u << 4242u << 02775u;
        QTest::newRow("a user in the file's group, set-user-ID") << 4243u << true << 04775u << 4243u << 4242u << 0775u;
        QTest::newRow("a user outside it") << 4243u << false << 0666u << 4243u << 4243u << 0666u;
        QTest::newRow("a user outside it, set-user-ID") << 4243u << false << 04757u << 4243u << 4243u << 0757u;
        QTest::newRow("a user outside it, set-group-ID") << 4243u << false << 02757u << 4243u << 4243u << 0757u;
    }
    void keepsOwnerGroupAndMode()
    {
        QFETCH(uint, user);
        QFETCH(bool, inGroup);
        QFETCH(uint, mode);
        QFETCH(uint, owner);
        QFETCH(uint, group);
        QFETCH(uint, newMode);
        if (::geteuid() != 0)
            QSKIP("needs root, to give files away and to become other users");
        const QString target = path(QStringLiteral("m.off"));
        support::writeBytes(target, "another user's file");
        const QByteArray name = QFile::encodeName(target);
        QCOMPARE(::chown(name.constData(), 4242, 4242), 0);
        QCOMPARE(::chmod(name.constData(), mode), 0);
        // Another user must reach the folder and make files in it.
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);

        QCOMPARE(support::inChildProcess(exportJob, {target}, asUser(user, inGroup)), QStringLiteral("done"));

        const struct stat st = statusOf(target);
        QCOMPARE(uint(st.st_uid), owner);
        QCOMPARE(uint(st.st_gid), group);
        QCOMPARE(uint(st.st_mode), uint(S_IFREG) | newMode);
        QCOMPARE(support::bytesOf(target), support::squareOff);
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("m.off")});
    }

    // A file its user may not write (after the links are followed) is refused before
    // anything is written and stays as it was; root, who may write it, replaces it.
    void writeProtected_data()
    {
        QTest::addColumn<uint>("user");        // owns the file and writes it, 0: root
        QTest::addColumn<uint>("mode");        // of the file
        QTest::addColumn<bool>("throughLink"); // the export goes to a link to it
        QTest::addColumn<bool>("refused");
        QTest::newRow("a user's own 0444 file") << 4243u << 0444u << false << true;
        QTest::newRow("a user's own 0444 file, through a link") << 4243u << 0444u << true << true;
        QTest::newRow("a user's own 0644 file") << 4243u << 0644u << false << false;
        QTest::newRow("a user's own 0644 file, through a link") << 4243u << 0644u << true << false;
        QTest::newRow("root's 0444 file") << 0u << 0444u << false << false;
    }
    void writeProtected()
    {
        QFETCH(uint, user);
        QFETCH(uint, mode);
        QFETCH(bool, throughLink);
        QFETCH(bool, refused);
        if (::geteuid() != 0)
            QSKIP("needs root, to become another user");
        const QString file = path(QStringLiteral("m.off"));
        support::writeBytes(file, "the previous export");
        const QByteArray name = QFile::encodeName(file);
        QCOMPARE(::chown(name.constData(), user, user), 0);
        QCOMPARE(::chmod(name.constData(), mode), 0);
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
        const QString target = throughLink ? path(QStringLiteral("link.off")) : file;
        if (throughLink)
            QVERIFY(QFile::link(QStringLiteral("m.off"), target));
        const QStringList before = support::entries(dir.path());

        const QString result = support::inChildProcess(exportJob, {target}, asUser(user, false));

        if (refused) {
            QCOMPARE(
                result,
                QStringLiteral("Cannot write the file \"%1\": it is write-protected; nothing was written").arg(target));
            QCOMPARE(support::bytesOf(file), QByteArray("the previous export"));
        } else {
            QCOMPARE(result, QStringLiteral("done"));
            QCOMPARE(support::bytesOf(file), support::squareOff);
        }
        const struct stat st = statusOf(file);
        QCOMPARE(uint(st.st_mode), uint(S_IFREG) | mode);
        QCOMPARE(uint(st.st_uid), user);
        QCOMPARE(support::entries(dir.path()), before);
        if (throughLink)
            QVERIFY(QFileInfo(target).isSymLink());
    }

    // Every name the folder can hold, up to the longest, is written new and
    // replaced; a new file gets 0666 less the umask, a replaced one its old mode.
    void namesOfEveryLength_data()
    {
        QTest::addColumn<int>("length"); // in bytes
        QTest::addColumn<bool>("existing");
        for (const int length : {1, 248, 249, 255})
            for (const bool existing : {false, true})
                QTest::addRow("%d bytes, %s", length, existing ? "replaced" : "new") << length << existing;
    }
    void namesOfEveryLength()
    {
        QFETCH(int, length);
        QFETCH(bool, existing);
        const QString name(length, QLatin1Char('n'));
        if (existing) {
            support::writeBytes(path(name), "the previous export");
            QCOMPARE(::chmod(QFile::encodeName(path(name)).constData(), 0604), 0);
        }
        const mode_t umaskBefore = ::umask(027);

        const QString result = exportTo(path(name));

        ::umask(umaskBefore);
        QCOMPARE(result, QStringLiteral("done"));
        QCOMPARE(support::bytesOf(path(name)), support::squareOff);
        QCOMPARE(support::entries(dir.path()), QStringList{name});
        QCOMPARE(statusOf(path(name)).st_mode & 07777, existing ? mode_t(0604) : mode_t(0640));
    }
};

QEL_TEST_MAIN(TestReplacing)
#include "test_replacing.moc"
