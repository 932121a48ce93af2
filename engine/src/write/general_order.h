// Jet 4's General sort order (the order of Access 2000 to 2007, kept as
// "General - Legacy" by later versions): what one UTF-16 code unit
// contributes to a text key. How the parts are put together is in
// text_key.cpp; docs/jet-writing.md#index-keys describes the layout.
#pragma once

#include <cstdint>

namespace jet::write {

enum class CharacterRole : std::uint8_t {
    kIgnored,   // takes no part in the key at all
    kSorted,    // sorts by its code alone
    kMarked,    // sorts by its code; its mark (accent, case of a variant...) breaks ties
    kPlaced,    // left out of the order, but kept with its position (hyphen, apostrophe, controls)
    kModifier,  // a combining mark: adds to the mark of the character before it
    kKana,      // sorts by its code, with a mark and a kana/width flag
};

struct GeneralOrderCharacter {
    CharacterRole role = CharacterRole::kIgnored;
    std::uint32_t code = 0;  // big-endian in `codeBytes` bytes; a modifier's amount
    std::uint8_t codeBytes = 0;
    std::uint16_t mark = 0;  // big-endian in `markBytes` bytes
    std::uint8_t markBytes = 0;
    std::uint8_t kanaFlag = 0;  // kana only: 2 or 3
    // The letters it counts for in the positions of placed characters: two
    // or three for a ligature (æ, ß, ﬃ), marked or not.
    std::uint8_t places = 1;
};

GeneralOrderCharacter generalOrderCharacter(char16_t unit);

}  // namespace jet::write
