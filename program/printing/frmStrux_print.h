// The printers the main window's reports go to.
#pragma once

#include <memory>

#include "printer/printers.h"

namespace printing {

// The machine's printers (and the PDF printer), found on first use.
printer::Printers& ProgramPrinters();
// Replaces the collection, e.g. by text printers in tests; nullptr makes
// the next use look for the machine's printers again.
void setProgramPrinters(std::unique_ptr<printer::Printers> printers);

}  // namespace printing
