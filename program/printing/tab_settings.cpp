#include "printing/tab_settings.h"

namespace printing {

TabSetting defaultTabSetting() {
    return TabSetting{"Courier", {10, 5, 30, 45, 55, 65, 30, 45, 55, 65, 30, 43, 52, 62, 72, 30, 43, 52, 62, 72}};
}

std::string tabFieldName(int index) {
    const std::string number = "00" + std::to_string(index + 1);
    return "Tab" + number.substr(number.size() - 2);
}

}  // namespace printing
