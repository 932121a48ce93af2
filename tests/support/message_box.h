// The message boxes a scripted UI was shown, each as one value of prompt,
// style and title, so that a test compares all three at once and a failure
// prints them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "vb/scripted_ui.h"

namespace testsupport {

struct Box {
    std::string prompt;
    int style = 0;
    std::string title;
    bool operator==(const Box&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "{\"" << box.prompt << "\", " << box.style << ", \"" << box.title << "\"}";
}

using Boxes = std::vector<Box>;

inline Boxes boxes(const vb::ScriptedUi& ui) {
    std::vector<Box> shown;
    for (const auto& box : ui.messageBoxes()) shown.push_back({box.prompt, box.style, box.title});
    return shown;
}

}  // namespace testsupport
