#include "write/general_order.h"

#include <algorithm>
#include <iterator>

namespace jet::write {
namespace {

struct Run {
    char16_t first, last;
    CharacterRole role;
    std::uint32_t code;
    std::uint8_t codeBytes, step;
    std::uint16_t mark;
    std::uint8_t markBytes, kanaFlag;
};

constexpr CharacterRole kSorted = CharacterRole::kSorted, kMarked = CharacterRole::kMarked,
                        kPlaced = CharacterRole::kPlaced, kModifier = CharacterRole::kModifier,
                        kKana = CharacterRole::kKana;

constexpr Run kRuns[] = {
#include "write/general_order_table.inc"
};

constexpr bool runsAscend() {
    for (std::size_t i = 0; i < std::size(kRuns); ++i)
        if (kRuns[i].first > kRuns[i].last || (i > 0 && kRuns[i - 1].last >= kRuns[i].first)) return false;
    return true;
}
static_assert(runsAscend(), "runs must be sorted and must not overlap");

// Surrogates are not in the table: Jet gives a high surrogate a code at a
// fixed distance below it, a low surrogate one whose distance depends on
// where in its block of 1024 it falls; both carry mark 0x3F.
constexpr std::uint8_t kSurrogateMark = 0x3F;

std::uint32_t surrogateCode(char16_t unit) {
    if (unit < 0xDC00) return unit - 10238u;
    const unsigned inBlock = (unit - 0xDC00u) % 1024u;
    const unsigned distance = inBlock < 8 ? 9992 : inBlock < 262 ? 9990 : inBlock < 516 ? 9988 : inBlock < 770 ? 9986 : 9984;
    return unit - distance;
}

// Letters have one-byte codes in this range; a code made of several of
// them is a ligature.
constexpr std::uint8_t kFirstLetterCode = 0x4A, kLastLetterCode = 0x78;

std::uint8_t letterPlaces(std::uint32_t code, std::uint8_t codeBytes) {
    std::uint8_t letters = 0;
    for (std::uint8_t i = 0; i < codeBytes; ++i) {
        const auto byte = static_cast<std::uint8_t>(code >> (8 * i));
        letters += byte >= kFirstLetterCode && byte <= kLastLetterCode;
    }
    return std::max<std::uint8_t>(letters, 1);
}

}  // namespace

GeneralOrderCharacter generalOrderCharacter(char16_t unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return {CharacterRole::kMarked, surrogateCode(unit), 2, kSurrogateMark, 1, 0, 1};
    const Run* run = std::upper_bound(std::begin(kRuns), std::end(kRuns), unit,
                                      [](char16_t u, const Run& r) { return u < r.first; });
    if (run == std::begin(kRuns) || (--run)->last < unit) return {};
    const std::uint32_t code = run->code + static_cast<std::uint32_t>(run->step) * (unit - run->first);
    return {run->role, code, run->codeBytes, run->mark, run->markBytes, run->kanaFlag,
            letterPlaces(code, run->codeBytes)};
}

}  // namespace jet::write
