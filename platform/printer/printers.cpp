#include "printer/printers.h"

#include <stdexcept>

#include "vb/vb_error.h"

namespace printer {

namespace {

PrinterDevice& checkedDevice(const std::vector<std::unique_ptr<PrinterDevice>>& devices, int index) {
    if (index < 0 || index >= static_cast<int>(devices.size()) || !devices[static_cast<std::size_t>(index)]) {
        throw vb::RuntimeError(9, "Subscript out of range");
    }
    return *devices[static_cast<std::size_t>(index)];
}

PrinterDevice& initialDevice(const std::vector<std::unique_ptr<PrinterDevice>>& devices, int current) {
    try {
        return checkedDevice(devices, current);
    } catch (const vb::RuntimeError&) {
        throw std::invalid_argument("a printers collection needs a valid current printer");
    }
}

}  // namespace

Printers::Printers(std::vector<std::unique_ptr<PrinterDevice>> devices, int current)
    : devices_(std::move(devices)), current_(current), printer_(initialDevice(devices_, current)) {}

PrinterDevice& Printers::Item(int index) const { return checkedDevice(devices_, index); }

void Printers::select(int index) {
    PrinterDevice& device = checkedDevice(devices_, index);
    printer_.attach(device);
    current_ = index;
}

bool Printers::selectByName(std::string_view deviceName) {
    for (int i = 0; i < Count(); ++i) {
        if (Item(i).DeviceName() == deviceName) {
            select(i);
            return true;
        }
    }
    return false;
}

}  // namespace printer
