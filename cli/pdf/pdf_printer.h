// Where `strux report` gets its PDF printer. strux itself links no Qt, so
// that every other command starts without Qt's fifty libraries: it hands a
// PDF report over to strux-pdf, the same commands linked with Qt's PDF
// writer, which sets the factory below. Test programs that link Qt set it
// too and write PDFs in-process.
#pragma once

#include <memory>
#include <ostream>

#include "printer/printer_device.h"

namespace cli {

using PdfPrinterFactory = std::unique_ptr<printer::PrinterDevice> (*)();

void setPdfPrinterFactory(PdfPrinterFactory factory);
// Null in strux, which has no PDF printer of its own.
PdfPrinterFactory pdfPrinterFactory();

// The command line of this process, kept by main for the hand-over.
void rememberCommandLine(int argc, char** argv);

// Replaces this process with strux-pdf (beside this program in the build,
// in ../lib/strux32 in an installed copy) run with the same command line.
// Returns only when that cannot be done, with the reason on `err`.
void handOverToPdfProgram(std::ostream& err);

}  // namespace cli
