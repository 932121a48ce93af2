// The installed printers, in the platform's order, and the printer object
// that prints on the current one (VB's Printers collection and Printer).
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "printer/printer_device.h"
#include "printer/printer.h"

namespace printer {

class Printers {
public:
    // `devices` must not be empty; `current` is the index of the printer that
    // is current at first. Throws std::invalid_argument otherwise.
    explicit Printers(std::vector<std::unique_ptr<PrinterDevice>> devices, int current = 0);

    int Count() const { return static_cast<int>(devices_.size()); }
    // Printers(i) for i from 0 to Count() - 1; throws vb::RuntimeError 9
    // ("Subscript out of range") outside it.
    PrinterDevice& Item(int index) const;

    int currentIndex() const { return current_; }
    // The printer object, printing on the current printer.
    Printer& printer() { return printer_; }

    // Makes Printers(index) the current printer (`Set Printer = Printers(i)`):
    // the printer object starts afresh on it. Throws 9 for a bad index and
    // 396 while a document is open.
    void select(int index);
    // Makes the first printer whose DeviceName equals `deviceName` exactly
    // (case-sensitive) the current one and returns true; when none matches,
    // the current printer stays and the result is false.
    bool selectByName(std::string_view deviceName);

private:
    std::vector<std::unique_ptr<PrinterDevice>> devices_;
    int current_;
    Printer printer_;
};

}  // namespace printer
