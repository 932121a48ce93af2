// The number of the error of kind `Error` (jet::Error, vb::RuntimeError) that
// an action raises; 0 when it raises none.
#pragma once

namespace testsupport {

template <class Error, class Action>
long errorNumber(Action&& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace testsupport
