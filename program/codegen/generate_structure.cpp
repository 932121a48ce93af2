#include "codegen/generate_structure.h"

#include <cerrno>
#include <ctime>
#include <iomanip>
#include <filesystem>
#include <locale>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "codegen/empty_copy.h"
#include "codegen/form_file.h"
#include "codegen/module_lines.h"
#include "codegen/text_file.h"
#include "files/replacement_file.h"
#include "jet/dao.h"

namespace codegen {

namespace {

std::locale userLocale() {
    try {
        return std::locale("");
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}

std::size_t fileNameStart(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? 0 : separator + 1;
}

// A generated file must never take the database's place.
void refuseDatabasePath(const std::string& path, const std::string& sDbPath) {
    if (files::sameFile(path, sDbPath))
        throw WriteError(kErrPathFileAccess, "Path/File access error (" + path + " is the database being read)", path);
}

}  // namespace

std::string GenerationHost::now() { return generalDateNow(); }

std::string generalDateNow() {
    const std::time_t clock = std::time(nullptr);
    std::tm local{};
    localtime_r(&clock, &local);
    const std::locale locale = userLocale();
    // The C locale's short date has a two-digit year; a four-digit one keeps
    // the comment unambiguous there.
    std::tm probe{};
    probe.tm_year = 2001 - 1900;
    probe.tm_mon = 11;
    probe.tm_mday = 31;
    std::ostringstream probeText;
    probeText.imbue(locale);
    probeText << std::put_time(&probe, "%x");
    const char* date = probeText.str().find("2001") == std::string::npos ? "%m/%d/%Y" : "%x";

    std::ostringstream text;
    text.imbue(locale);
    text << std::put_time(&local, date);
    if (local.tm_hour != 0 || local.tm_min != 0 || local.tm_sec != 0) text << ' ' << std::put_time(&local, "%X");
    return text.str();
}

std::string moduleFilePath(const std::string& sDbPath) {
    const std::size_t nameStart = fileNameStart(sDbPath);
    const auto dot = sDbPath.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) return sDbPath + ".bas";
    return sDbPath.substr(0, dot + 1) + "bas";
}

bool GenerationHost::replaceExistingCopy(const std::string&) { return false; }

namespace {

GeneratedFiles makeEmptyCopy(const CodeRequest& request, const SourceDatabase& source, GenerationHost& host) {
    GeneratedFiles files;
    host.setArea(kAreaVBStructCopying);
    files.copyPath = request.copyOut.empty() ? emptyCopyPath(request.sDbPath) : request.copyOut;
    host.showMessage("Creating " + files.copyPath);
    const bool replace = mayWriteCopy(files.copyPath, request.sDbPath, host);
    // A new database is nobody's file yet: built whole under a temporary
    // name without a journal, flushed once and renamed into place, so that
    // a crash leaves the old file or none, never half a copy, and a reader
    // of an existing copy keeps the one it has open.
    std::optional<files::ReplacementFile> file;
    try {
        file.emplace(files.copyPath, std::vector<std::filesystem::path>{request.sDbPath},
                     files::ReplacementFile::Temporary::NameOnly);
        jet::DBEngine engine;
        auto target = engine.CreateDatabaseWithoutJournal(
            file->temporaryPath().string(), kCopyLocale, copyFormatOption(request.sourceVersion, request.sourceCodePage));
        // One transaction: each page of the copy is written once, at the end,
        // however many tables and relations changed it on the way.
        engine.BeginTrans();
        files.copy = copyStructure(request.entries, source, *target, [&host] { host.doEvents(); });
        engine.CommitTrans();
        target->Close();
        file->commit(replace ? files::Replace::IfExists : files::Replace::Never);
    } catch (const files::FileError& e) {
        // Without leave to replace, a file that appeared meanwhile stays.
        if (!replace && e.error() == EEXIST) throw CopyDeclined(files.copyPath);
        throwWriteError(e, files.copyPath);
    } catch (const files::TargetRefused& e) {
        throwWriteError(e, files.copyPath);
    } catch (const jet::Error& e) {
        // The engine names its temporary file; the user knows the copy's.
        std::string context = e.context();
        const std::string temporary = file ? file->temporaryPath().string() : std::string();
        if (const auto at = context.find(temporary); !temporary.empty() && at != std::string::npos)
            context.replace(at, temporary.size(), files.copyPath);
        throw jet::Error(e.number(), e.what(), context);
    }
    return files;
}

}  // namespace

GeneratedFiles GenerateStructure(std::string& sMode, const CodeRequest& request, const SourceDatabase& source,
                                 GenerationHost& host) {
    const bool copyMode = sMode == "COPY";
    if (!copyMode && sMode.find("VBFILE") == std::string::npos)
        throw std::invalid_argument("unknown mode word '" + sMode + "'");

    host.setArea(kAreaVBStructInitialising);
    host.setPointer(kPointerHourglass);
    try {
        if (copyMode) {
            GeneratedFiles files = makeEmptyCopy(request, source, host);
            host.setPointer(kPointerDefault);
            host.showMessage("-1");
            host.setArea(kAreaCodeRun);
            return files;
        }
        GeneratedFiles files;
        host.showMessage("Creating stand alone style code.........");
        host.setArea(kAreaVBStructPrinting);
        files.modulePath = request.moduleOut.empty() ? moduleFilePath(request.sDbPath) : request.moduleOut;
        refuseDatabasePath(files.modulePath, request.sDbPath);
        TextFileWriter module(files.modulePath);

        CodeStyle style = CodeStyle::StandAlone;
        if (sMode == "VBFILE2") {
            if (!request.bNoFormFile) {
                host.showMessage("Creating outline form CreateVBDatabase.frm........");
                files.formPath = formFilePath(files.modulePath);
                refuseDatabasePath(files.formPath, request.sDbPath);
                CreateVBForm(files.formPath, host.now());
            }
            host.showMessage("Creating Project style code...........");
            host.setArea(kAreaVBStructPrinting);
            style = CodeStyle::Project;
            sMode = "VBFILE";
        }

        module.writeLines(moduleLines(style, request.entries, source, request.sDbPath, host.now(),
                                      [&host] { host.doEvents(); }, &files.notCreated));
        module.commit();

        host.setPointer(kPointerDefault);
        host.showMessage("-1");
        host.setArea(kAreaCodeRun);
        return files;
    } catch (...) {
        host.setPointer(kPointerDefault);
        throw;
    }
}

}  // namespace codegen
