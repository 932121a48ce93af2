// The number of the engine error an action raises; 0 when it raises none.
#pragma once

#include "jet/error.h"

namespace testsupport {

template <class Action>
long jetErrorNumber(Action&& action) {
    try {
        action();
    } catch (const jet::Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace testsupport
