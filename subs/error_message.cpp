#include "error_message.h"

#include "vb/interaction.h"
#include "vb/vb_error.h"

namespace subs {

const char* const kDefaultContact =
    " Please contact Corvane for assistance, quoting the Error code, Section and Program detail.";
const char* const kSupportLine = "Corvane Support Line: telephone 01632 960418 (weekdays 9.00 to 17.30).";
const char* const kStoredInClipboard = "This message has been stored in the clipboard.";

namespace {

const char* const kLineBreak = "\r\n";

}  // namespace

std::string errorMessageText(int32_t errorNumber, int32_t areaNumber, const std::string& areaText,
                             const std::string& contact) {
    const std::string contactText = contact.empty() ? kDefaultContact : contact;
    const std::string section = std::to_string(areaNumber);
    std::string message;
    if (errorNumber == 3015) {
        message = "An index error Code 3015 [Index missing] has occurred in Section " + section + " of the program. " +
                  areaText + "." + contactText;
    } else if (errorNumber == 3024) {
        message = "The specified database could not be found in the given path in the program. " + areaText +
                  " Check with your system supervisor.";
    } else {
        const std::string code = "00000" + std::to_string(errorNumber);
        message = "An error Code " + code.substr(code.size() - 5) + " has occurred in Section " + section +
                  " of the program. " + areaText + "." + contactText;
    }
    message += std::string(kLineBreak) + kLineBreak;
    if (contact.empty()) message += std::string(kSupportLine) + kLineBreak + kLineBreak;
    return message;
}

int32_t buttonGroup(int32_t style) {
    static constexpr int32_t kFlags[] = {524288, 65536, 16384, 4096, 768, 512, 256, 64, 48, 32, 16};
    for (int32_t flag : kFlags)
        if (style >= flag) style -= flag;
    return style;
}

int16_t resultForButton(int32_t group, int pressed, int16_t b1, int16_t b2, int16_t b3, int16_t userErrNum) {
    switch (group) {
    case vb::vbOKOnly: return b1;
    case vb::vbOKCancel: return pressed == vb::vbOK ? b1 : b2;
    case vb::vbAbortRetryIgnore: return pressed == vb::vbAbort ? b1 : pressed == vb::vbRetry ? b2 : b3;
    case vb::vbYesNoCancel: return pressed == vb::vbYes ? b1 : pressed == vb::vbNo ? b2 : b3;
    case vb::vbYesNo: return pressed == vb::vbYes ? b1 : b2;
    case vb::vbRetryCancel: return pressed == vb::vbRetry ? b1 : b2;
    default: return userErrNum;
    }
}

int16_t toErrorInteger(int32_t errorNumber) {
    if (errorNumber < -32768 || errorNumber > 32767) throw vb::RuntimeError(vb::vbErrOverflow, "Overflow");
    return static_cast<int16_t>(errorNumber);
}

}  // namespace subs
