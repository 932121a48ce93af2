// The number of the VB run-time error an action raises; 0 when it raises none.
#pragma once

#include "vb/vb_error.h"

namespace testsupport {

template <class Action>
long vbErrorNumber(Action&& action) {
    try {
        action();
    } catch (const vb::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace testsupport
