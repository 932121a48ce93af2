// The printers collection of this machine.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "printer/printers.h"

namespace printer {

// The machine's installed printers in the print system's order, followed by
// the PDF printer. The system's default printer is current; with no default
// the first printer, and with no printer at all the PDF printer. Needs a
// QGuiApplication.
std::unique_ptr<Printers> systemPrinters();

// The same collection for the printers `names` with the default printer
// `defaultName` ("" for none), as the print system would report them.
std::unique_ptr<Printers> printersNamed(const std::vector<std::string>& names,
                                        const std::string& defaultName);

}  // namespace printer
