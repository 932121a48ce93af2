#include "printer/printer_device.h"

namespace printer {

std::string PrinterDevice::Fonts(int index) const {
    const std::vector<std::string>& names = fontNames();
    if (index < 0 || index >= static_cast<int>(names.size())) return {};
    return names[static_cast<std::size_t>(index)];
}

}  // namespace printer
