#include "pdf/pdf_printer.h"

#include "command.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace cli {

namespace {

namespace fs = std::filesystem;

PdfPrinterFactory factory_ = nullptr;
std::vector<char*> commandLine_;

constexpr char kPdfProgramName[] = "strux-pdf";

}  // namespace

void setPdfPrinterFactory(PdfPrinterFactory factory) { factory_ = factory; }

PdfPrinterFactory pdfPrinterFactory() { return factory_; }

void rememberCommandLine(int argc, char** argv) { commandLine_.assign(argv, argv + argc); }

void handOverToPdfProgram(std::ostream& err) {
    if (commandLine_.empty()) {
        err << "strux report: this program has no PDF printer; use --text\n";
        return;
    }
    const fs::path folder = programFolder();
    const std::vector<fs::path> candidates = {folder / kPdfProgramName,
                                              folder.parent_path() / "lib" / "strux32" / kPdfProgramName};
    for (const fs::path& candidate : candidates) {
        if (::access(candidate.c_str(), X_OK) != 0) continue;
        err.flush();
        std::vector<char*> argv = commandLine_;
        std::string program = candidate.string();
        argv[0] = program.data();
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        err << "strux report: cannot start " << program << ": " << std::strerror(errno) << "; use --text\n";
        return;
    }
    err << "strux report: cannot write PDF: " << kPdfProgramName << " was found neither beside this program nor in "
        << (folder.parent_path() / "lib" / "strux32").string() << "; use --text\n";
}

}  // namespace cli
