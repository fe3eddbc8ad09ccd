#pragma once
// Fixed tables of the shared state. Every index counts from 0 and every access is
// checked against the bounds: an index outside raises OutOfBoundsException, so
// nothing ever reads or writes outside a table.
#include "toolkit/errors.h"

#include <cstdint>
#include <string>

namespace Module1 {

constexpr std::int64_t maxPoints = 3000;
constexpr std::int64_t maxLines = 3000;

[[noreturn]] void outOfBounds(const char* table, std::int64_t row, std::int64_t col, std::int64_t lastRow,
                              std::int64_t lastCol);
[[noreturn]] void rowOutOfBounds(const char* table, std::int64_t row, std::int64_t lastRow);

// Rows 0 to LastRow, columns 0 to LastCol.
template <typename T, std::int64_t LastRow, std::int64_t LastCol>
class Table2 {
public:
    static constexpr std::int64_t lastRow = LastRow;
    static constexpr std::int64_t lastCol = LastCol;

    explicit Table2(const char* name) : name_(name) {}

    T& operator()(std::int64_t r, std::int64_t c)
    {
        check(r, c);
        return d_[r][c];
    }
    const T& operator()(std::int64_t r, std::int64_t c) const
    {
        check(r, c);
        return d_[r][c];
    }

    // Row r as a whole, checked once for all its columns. A row outside the table
    // first calls `outside`, which may raise an error of its own that says more, or
    // finish work before the error ends it; then the table's own error is raised.
    template <typename Outside>
    const T* row(std::int64_t r, Outside&& outside) const
    {
        if (!rowInRange(r)) {
            outside();
            rowOutOfBounds(name_, r, LastRow);
        }
        return d_[r];
    }
    const T* row(std::int64_t r) const
    {
        return row(r, [] {});
    }

    void clear() { clearRowsFrom(0); }

    // Rows `first` to the last back to zero; `first` one past the last clears nothing.
    void clearRowsFrom(std::int64_t first)
    {
        if (first < 0 || first > LastRow + 1)
            rowOutOfBounds(name_, first, LastRow);
        for (std::int64_t r = first; r <= LastRow; ++r)
            for (auto& v : d_[r])
                v = T{};
    }

private:
    static constexpr bool rowInRange(std::int64_t r) { return r >= 0 && r <= LastRow; }

    void check(std::int64_t r, std::int64_t c) const
    {
        if (r < 0 || r > LastRow || c < 0 || c > LastCol)
            outOfBounds(name_, r, c, LastRow, LastCol);
    }

    const char* name_;
    T d_[LastRow + 1][LastCol + 1]{};
};

// Indices 0 to Last.
template <typename T, std::int64_t Last>
class Table1 {
public:
    explicit Table1(const char* name) : name_(name) {}

    T& operator()(std::int64_t i)
    {
        check(i);
        return d_[i];
    }
    const T& operator()(std::int64_t i) const
    {
        check(i);
        return d_[i];
    }
    void clear()
    {
        for (auto& v : d_)
            v = T{};
    }

private:
    void check(std::int64_t i) const
    {
        if (i < 0 || i > Last)
            outOfBounds(name_, i, -1, Last, -1);
    }

    const char* name_;
    T d_[Last + 1]{};
};

// The tables of the shared state.
using PointTable = Table2<double, maxPoints, 3>;     // x, y, z in columns 1..3
using LineTable = Table2<std::int64_t, maxLines, 2>; // point number, colour code
using Basis = Table2<double, 3, 2>;                  // projection matrix

} // namespace Module1
