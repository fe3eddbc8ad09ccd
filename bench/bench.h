#pragma once
// The benchmark's parts. Each bench_*.cpp registers one or more groups with
// QEL_BENCH(name) { ... figure("figure_name", value); }; the main program runs every
// group, sorted by name, and prints one "name value" line per figure.
#include <QString>

#include <chrono>
#include <functional>
#include <vector>

namespace qelbench {

using Emit = std::function<void(const char* name, double value)>;
using Group = void (*)(const Emit&);

int add(const char* name, Group group);

double median(std::vector<double> values);

// Median of `runs` timed calls of f, in milliseconds.
template <class F>
double medianMs(int runs, F&& f)
{
    std::vector<double> ms;
    ms.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const auto t1 = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    return median(std::move(ms));
}

// A scratch folder that lives until the program ends.
QString scratchDir();

} // namespace qelbench

#define QEL_BENCH(id)                                                                                                  \
    static void qel_bench_##id(const qelbench::Emit& figure);                                                          \
    [[maybe_unused]] static const int qel_bench_reg_##id = qelbench::add(#id, &qel_bench_##id);                        \
    static void qel_bench_##id([[maybe_unused]] const qelbench::Emit& figure)
