// strux-pdf: strux with Qt's PDF writer, to which strux hands a report that
// is to be written as PDF.
#include "command.h"
#include "pdf/qt_pdf_printer.h"

int main(int argc, char** argv) {
    cli::usePdfPrinterOfQt();
    return cli::runProgram(argc, argv);
}
