#pragma once
// The errors of the toolkit layer. Module code never catches them: they end the
// handler that raised them and reach the report of unhandled errors (report.h).
#include <stdexcept>
#include <string>

namespace toolkit {

class RuntimeException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An index outside a table's bounds.
class OutOfBoundsException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
};

// A file that cannot be opened, read, created, written or committed.
class IOException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
};

// A call through an object that does not exist (no picture, no window, no control).
class NilObjectException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
};

// Input the program cannot hold, such as a model above the tables' capacity.
class UnsupportedFormatException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
};

} // namespace toolkit
