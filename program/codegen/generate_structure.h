// The generator's modes: the module (stand-alone or project style) beside
// the database and, for the project style, the outline form; and the empty
// copy of the database (empty_copy.h). The program calls GenerateStructure
// from its print dispatcher; the command line and the tests call it with
// their own host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "codegen/empty_copy.h"
#include "codegen/structure_walk.h"

namespace codegen {

// Error areas the generator declares while it runs.
inline constexpr int32_t kAreaCodeRun = 0;
inline constexpr int32_t kAreaVBStructInitialising = 99001;
inline constexpr int32_t kAreaVBStructPrinting = 99002;

inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHourglass = 11;

// What the generator tells the window while it runs. The program routes
// these to cvShowMessage, cvSetArea, SetPointer and DoEvents.
class GenerationHost {
public:
    virtual ~GenerationHost() = default;
    // The status window's text; "-1" hides the window.
    virtual void showMessage(const std::string& text) = 0;
    // The error area now in force (sErrArea becomes cvSetArea(area, 1, 0)).
    virtual void setArea(int32_t area) = 0;
    // 11 busy, 0 normal.
    virtual void setPointer(int pointer) = 0;
    // Called between objects, so that the window stays responsive.
    virtual void doEvents() {}
    // The current date and time in the general date format, for the
    // "created" comment lines.
    virtual std::string now();
    // Copy mode: the copy's file `path` exists already; true (Yes) deletes
    // it and creates the copy again, false (No) gives up. The program asks
    // kReplaceCopyPrompt; without anyone to ask, nothing is replaced.
    virtual bool replaceExistingCopy(const std::string& path);
};

// A host that shows nothing: the command line's. `replaceCopies` answers
// the question about an existing copy.
class QuietHost : public GenerationHost {
public:
    explicit QuietHost(bool replaceCopies = false) : replaceCopies_(replaceCopies) {}
    void showMessage(const std::string&) override {}
    void setArea(int32_t) override {}
    void setPointer(int) override {}
    bool replaceExistingCopy(const std::string&) override { return replaceCopies_; }

private:
    bool replaceCopies_;
};

// The current local date and time as the general date format writes it:
// the locale's short date and its time, the time left out at midnight.
std::string generalDateNow();

// The module's path: the database's path with its file name's extension
// replaced by "bas" ("Orders.mdb" and "Orders.accdb" both give
// "Orders.bas"); a name without an extension gets ".bas" added.
std::string moduleFilePath(const std::string& sDbPath);

struct CodeRequest {
    std::vector<std::string> entries;  // the main listing, "Tbl: " etc.
    std::string sDbPath;               // the database's full path
    bool bNoFormFile = false;          // project style without the outline form
    // Where the module goes; empty for moduleFilePath(sDbPath). The form
    // file goes into the module's folder.
    std::string moduleOut;
    // Copy mode: the source's Database.Version and CodePage, which decide
    // the copy's format (copyFormatOption), and where the copy goes (empty
    // for emptyCopyPath(sDbPath)).
    std::string sourceVersion;
    int sourceCodePage = kCopyCodePage;
    std::string copyOut;
};

struct GeneratedFiles {
    std::string modulePath;
    std::string formPath;  // empty when no form file was written
    std::string copyPath;  // copy mode: the new database
    CopyOutcome copy;      // copy mode: what it could not carry over
    // Code modes: what the module does not create, each a comment in it.
    std::vector<LeftOut> notCreated;
};

// Writes the module for the mode word "VBFILE" (stand-alone style) or
// "VBFILE2" (project style; the form file first unless bNoFormFile); the
// project style changes `sMode` to "VBFILE" once its header is written.
// Each file replaces an earlier one only once it is complete.
// The word "COPY" makes the empty copy instead (any other word without
// "VBFILE" is refused with std::invalid_argument):
// the new database is built under a temporary name beside its path and
// filled pass by pass, then put in place whole (the host is asked before an
// existing file is replaced; No throws CopyDeclined); a failure on the way
// leaves the path as it was.
// Throws jet::Error when a database cannot be read or written and
// WriteError when a file cannot be written, or its path is a folder, a
// device, a FIFO or the database itself; the host then holds
// the area of the failed step and the normal pointer, and the status window
// is left to the caller's failure handler.
GeneratedFiles GenerateStructure(std::string& sMode, const CodeRequest& request, const SourceDatabase& source,
                                 GenerationHost& host);

}  // namespace codegen
