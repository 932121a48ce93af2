// Collecting verification findings. A badly damaged index can disagree
// with its table on every row; past a few findings per table and index the
// rest are counted in one closing finding, so the list stays readable.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "jet/verify.h"

namespace jet::verify {

class Findings {
public:
    void fault(const std::string& table, const std::string& index, std::uint32_t page, std::string text);
    void note(const std::string& table, const std::string& index, std::uint32_t page, std::string text);

    std::size_t faultCount() const { return faults_; }
    // The findings, with a count of those left out per table and index.
    std::vector<VerifyFinding> take();

private:
    void add(VerifyFinding finding);

    static constexpr std::size_t kShownPerPlace = 8;
    std::vector<VerifyFinding> list_;
    std::map<std::pair<std::string, std::string>, std::size_t> perPlace_;
    std::size_t faults_ = 0;
};

}  // namespace jet::verify
