// The checks against files Access wrote: a check that finds a fault in one
// of them is the check's fault, not the file's.
#include <gtest/gtest.h>

#include <iostream>

#include "jet/error.h"
#include "jet/verify.h"
#include "support/corpus.h"

namespace {

TEST(VerifyCorpus, EveryAccessWrittenFileVerifiesClean) {
    STRUX_REQUIRE_CORPUS();
    std::size_t files = 0, notes = 0, unreadable = 0;
    for (const auto& path : testsupport::corpusDatabases()) {
        std::vector<jet::VerifyFinding> findings;
        try {
            findings = jet::verifyDatabase(path.string());
        } catch (const jet::Error& e) {
            // Password-protected and encrypted files: the readers' tests
            // cover what is refused and why.
            ++unreadable;
            continue;
        }
        ++files;
        for (const auto& f : findings) {
            if (f.isFault()) ADD_FAILURE() << path.string() << ": " << jet::describeFinding(f);
            else ++notes;
        }
    }
    std::cout << "verified " << files << " files, " << notes << " notes, " << unreadable << " not readable\n";
    EXPECT_GT(files, 50u);
}

}  // namespace
