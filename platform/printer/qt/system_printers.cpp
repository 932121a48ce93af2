#include "printer/qt/system_printers.h"

#include <QPrinterInfo>
#include <algorithm>

#include "printer/qt/qt_printer_devices.h"

namespace printer {

std::unique_ptr<Printers> systemPrinters() {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
    return printersNamed(names, QPrinterInfo::defaultPrinterName().toStdString());
}

std::unique_ptr<Printers> printersNamed(const std::vector<std::string>& names,
                                        const std::string& defaultName) {
    std::vector<std::unique_ptr<PrinterDevice>> devices;
    for (const std::string& name : names) devices.push_back(std::make_unique<SystemPrinterDevice>(name));
    devices.push_back(std::make_unique<PdfPrinterDevice>());

    int current = 0;
    if (names.empty()) {
        current = static_cast<int>(devices.size()) - 1;
    } else if (const auto found = std::find(names.begin(), names.end(), defaultName);
               !defaultName.empty() && found != names.end()) {
        current = static_cast<int>(found - names.begin());
    }
    return std::make_unique<Printers>(std::move(devices), current);
}

}  // namespace printer
