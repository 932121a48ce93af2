#include "verify/findings.h"

namespace jet::verify {

void Findings::fault(const std::string& table, const std::string& index, std::uint32_t page, std::string text) {
    ++faults_;
    add({VerifyFinding::Severity::Fault, table, index, page, std::move(text)});
}

void Findings::note(const std::string& table, const std::string& index, std::uint32_t page, std::string text) {
    add({VerifyFinding::Severity::Note, table, index, page, std::move(text)});
}

void Findings::add(VerifyFinding finding) {
    if (++perPlace_[{finding.table, finding.index}] <= kShownPerPlace) list_.push_back(std::move(finding));
}

std::vector<VerifyFinding> Findings::take() {
    for (const auto& [place, count] : perPlace_)
        if (count > kShownPerPlace)
            list_.push_back({VerifyFinding::Severity::Fault, place.first, place.second, 0,
                             std::to_string(count - kShownPerPlace) + " more findings like the above"});
    perPlace_.clear();
    return std::move(list_);
}

}  // namespace jet::verify
