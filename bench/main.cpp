// qel-bench: speed figures of the viewer, one "name value" line each (times are
// medians in milliseconds). Optional arguments pick groups by name.
#include "bench/bench.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace qelbench {

namespace {
std::map<std::string, Group>& groups()
{
    static std::map<std::string, Group> g;
    return g;
}
} // namespace

int add(const char* name, Group group)
{
    groups()[name] = group;
    return 0;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString scratchDir()
{
    static QTemporaryDir dir;
    return dir.path();
}

} // namespace qelbench

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // fonts for the axis labels, widgets for the debug window
#ifndef NDEBUG
    std::fprintf(stderr, "qel-bench: built without optimisation, the figures mean little\n");
#endif
    const QStringList wanted = app.arguments().mid(1);
    for (const auto& [name, group] : qelbench::groups()) {
        if (!wanted.isEmpty() && !wanted.contains(QString::fromStdString(name)))
            continue;
        group([](const char* figure, double value) {
            std::printf("%s %.4g\n", figure, value);
            std::fflush(stdout);
        });
    }
    return 0;
}
