// The error of kind `Error` (jet::Error, vb::RuntimeError, ...) that an
// action raises, or its number; nothing, or 0, when it raises none.
#pragma once

#include <optional>

namespace testsupport {

template <class Error, class Action>
std::optional<Error> caught(Action&& action) {
    try {
        action();
    } catch (const Error& e) {
        return e;
    }
    return std::nullopt;
}

template <class Error, class Action>
long errorNumber(Action&& action) {
    const auto error = caught<Error>(action);
    return error ? error->number() : 0;
}

}  // namespace testsupport
