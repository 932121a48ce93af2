// A generation host that records what the window would be told, in order,
// and answers the question about an existing copy from a script.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "codegen/generate_structure.h"

namespace testcodegen {

class RecordingHost : public codegen::GenerationHost {
public:
    std::vector<std::string> events;
    int doEventsCalls = 0;
    int32_t area = -1;
    int pointer = -1;
    std::string created = "1/2/2003 4:05:06 PM";
    std::deque<bool> answers;  // to the question about an existing copy, in turn
    std::vector<std::string> asked;

    void showMessage(const std::string& text) override { events.push_back("message " + text); }
    void setArea(int32_t value) override { events.push_back("area " + std::to_string(area = value)); }
    void setPointer(int value) override { events.push_back("pointer " + std::to_string(pointer = value)); }
    void doEvents() override { ++doEventsCalls; }
    std::string now() override { return created; }
    bool replaceExistingCopy(const std::string& path) override {
        asked.push_back(path);
        if (answers.empty()) {
            ADD_FAILURE() << "asked with no answer left";
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace testcodegen
