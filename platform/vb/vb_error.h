// Run-time errors of the VB run time and the components: one exception type
// carrying an error number and a description (VB's and DAO's numbers).
#pragma once

#include <stdexcept>
#include <string>

namespace vb {

enum RuntimeErrorNumber : long {
    vbErrOverflow = 6,
    vbErrTypeMismatch = 13,
    vbErrInvalidProcedureCall = 5,
    vbErrFileNotFound = 53,
    vbErrPathNotFound = 76,
    vbErrInvalidUseOfNull = 94,
    vbErrCancelled = 32755,  // a common dialog was cancelled
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(long number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    long number() const { return number_; }

private:
    long number_;
};

}  // namespace vb
