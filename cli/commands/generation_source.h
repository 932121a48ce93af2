// The database a generating command (vb, copy) reads, opened read-only, and
// the generator's request filled in from it as the program fills it in from
// its open database: the full path, the listing, the version and code page.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "codegen/generate_structure.h"
#include "commands/database_password.h"
#include "jet/dao.h"

namespace cli {

struct GenerationSource {
    // Throws jet::Error when the file cannot be opened.
    explicit GenerationSource(const std::string& file)
        : db(openWithPassword([&](const std::string& password) {
              return jet::DBEngine().OpenDatabase(file, false, true, connectFor(password));
          })),
          source{db->TableDefs(), db->QueryDefs(), db->Relations(), db.get()} {
        request.sDbPath = std::filesystem::absolute(file).lexically_normal().string();
        request.entries = codegen::listingEntries(source);
        request.sourceVersion = db->Version();
        request.sourceCodePage = db->CodePage();
    }

    std::shared_ptr<jet::Database> db;
    codegen::SourceDatabase source;
    codegen::CodeRequest request;
};

}  // namespace cli
