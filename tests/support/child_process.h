#pragma once
// Code run in a child process, for what a test cannot undo in its own: a lowered
// file size limit, another user's identity, a process killed half way. The child is
// the test program itself, started anew: its main() (QEL_TEST_MAIN) finds the job's
// name in the environment, sets itself up while it is still one thread and has run
// no Qt code, then runs the job and prints what the job returned. Whatever the job
// leaves on disk stays there for the test to look at.
//
// A job is a function of the test program, registered at namespace scope:
//   const support::ChildJob exportJob("export", [](const QStringList& args) { ... });
// and run from a test: support::inChildProcess(exportJob, {path}, support::fileSizeLimit(50)).
#include <QByteArray>
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTest>

#if defined(QT_WIDGETS_LIB)
#include <QApplication>
#else
#include <QGuiApplication>
#endif

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

namespace support {

// What the child is before it runs any Qt code.
struct ChildSetup {
    // Its files cannot grow past this many bytes, and it ignores SIGXFSZ, so every
    // write past the limit fails for real with EFBIG, "File too large".
    std::optional<rlim_t> fileSizeLimit;
    // It becomes this user, with the group of the same number, belonging to these
    // groups too (needs root).
    std::optional<uid_t> user;
    std::vector<gid_t> groups;
};

// A child whose files cannot grow past this many bytes.
inline ChildSetup fileSizeLimit(rlim_t bytes)
{
    ChildSetup setup;
    setup.fileSizeLimit = bytes;
    return setup;
}

// A child that is this user (and group), in these groups too.
inline ChildSetup asUser(uid_t user, std::vector<gid_t> groups = {})
{
    ChildSetup setup;
    setup.user = user;
    setup.groups = std::move(groups);
    return setup;
}

using ChildBody = std::function<QString(const QStringList& args)>;

namespace detail {
inline std::map<QString, ChildBody>& childJobs()
{
    static std::map<QString, ChildBody> jobs;
    return jobs;
}
inline const char jobVariable[] = "QEL_CHILD_JOB";
inline const char fileSizeVariable[] = "QEL_CHILD_FILE_SIZE_LIMIT";
inline const char userVariable[] = "QEL_CHILD_USER";
inline const char groupsVariable[] = "QEL_CHILD_GROUPS";

// Sets the fresh child up from its environment; empty when done, else why not.
inline const char* setUpChild()
{
    if (const char* limitText = std::getenv(fileSizeVariable)) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
            return "cannot lower the file size limit";
        limit.rlim_cur = rlim_t(std::strtoull(limitText, nullptr, 10)); // the hard limit stays
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return "cannot lower the file size limit";
    }
    if (const char* userText = std::getenv(userVariable)) {
        std::vector<gid_t> groups;
        for (const char* p = std::getenv(groupsVariable); p && *p;) {
            char* end = nullptr;
            groups.push_back(gid_t(std::strtoul(p, &end, 10)));
            p = *end == ',' ? end + 1 : end;
        }
        const auto user = uid_t(std::strtoul(userText, nullptr, 10));
        if (::setgroups(groups.size(), groups.data()) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0)
            return "cannot become the user";
    }
    return nullptr;
}

inline void writeOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
} // namespace detail

// A job a child process can run, under its name.
class ChildJob {
public:
    ChildJob(const char* name, ChildBody body) : name_(QString::fromUtf8(name))
    {
        detail::childJobs()[name_] = std::move(body);
    }
    const QString& name() const { return name_; }

private:
    QString name_;
};

// What a child says on its standard output: what its job returned, or "error: "
// and the message of the error that escaped the job, or "child: " and why it could
// not be set up. Anything the job prints itself comes before.
class ChildProcess {
public:
    ChildProcess(const ChildJob& job, const QStringList& args, const ChildSetup& setup = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(detail::jobVariable), job.name());
        if (setup.fileSizeLimit)
            environment.insert(QString::fromLatin1(detail::fileSizeVariable), QString::number(*setup.fileSizeLimit));
        if (setup.user) {
            QStringList groups;
            for (const gid_t g : setup.groups)
                groups << QString::number(g);
            environment.insert(QString::fromLatin1(detail::userVariable), QString::number(*setup.user));
            environment.insert(QString::fromLatin1(detail::groupsVariable), groups.join(QLatin1Char(',')));
        }
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QCoreApplication::applicationFilePath(), args);
    }
    ~ChildProcess()
    {
        if (process_.state() != QProcess::NotRunning)
            kill();
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until the child has printed text; false when it ends without.
    bool waitForOutput(const QByteArray& text)
    {
        while (!output_.contains(text)) {
            if (!process_.waitForReadyRead(-1))
                return false;
            output_ += process_.readAllStandardOutput();
        }
        return true;
    }
    // Ends the child at once, as SIGKILL ends it.
    void kill()
    {
        process_.kill();
        process_.waitForFinished(-1);
    }
    // Waits for the child to end and returns what it printed; "child: " and how it
    // ended unless it ended normally.
    QString result()
    {
        if (!process_.waitForStarted(-1))
            return QStringLiteral("child: cannot start: ") + process_.errorString();
        process_.waitForFinished(-1);
        output_ += process_.readAllStandardOutput();
        if (process_.exitStatus() != QProcess::NormalExit || process_.exitCode() != 0)
            return QStringLiteral("child: ended abnormally (exit code %1) after \"%2\"")
                .arg(process_.exitCode())
                .arg(QString::fromUtf8(output_));
        return QString::fromUtf8(output_);
    }

private:
    QProcess process_;
    QByteArray output_;
};

// Runs the job in a child process set up so, and returns its result().
inline QString inChildProcess(const ChildJob& job, const QStringList& args, const ChildSetup& setup = {})
{
    return ChildProcess(job, args, setup).result();
}

#if defined(QT_WIDGETS_LIB)
using TestApplication = QApplication;
#else
using TestApplication = QGuiApplication;
#endif

// The child's main(): set up first, then the application and the job.
inline int runChild(int argc, char* argv[])
{
    if (const char* failure = detail::setUpChild()) {
        detail::writeOut(QByteArray("child: ") + failure);
        return 0;
    }
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    TestApplication app(argc, argv);
    const QString name = QString::fromLocal8Bit(std::getenv(detail::jobVariable));
    const auto job = detail::childJobs().find(name);
    QString result;
    if (job == detail::childJobs().end()) {
        result = QStringLiteral("child: no job \"%1\"").arg(name);
    } else {
        try {
            result = job->second(args);
        } catch (const std::exception& e) {
            result = QStringLiteral("error: ") + QString::fromUtf8(e.what());
        } catch (...) {
            result = QStringLiteral("error: of no known type");
        }
    }
    detail::writeOut(result.toUtf8());
    return 0;
}

} // namespace support

// The main() of a test program whose tests run jobs in child processes: QTEST_MAIN,
// except that the program started as a child runs its job instead of the tests.
#define QEL_TEST_MAIN(TestObject)                                                                                      \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        if (std::getenv(support::detail::jobVariable))                                                                 \
            return support::runChild(argc, argv);                                                                      \
        support::TestApplication app(argc, argv);                                                                      \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
