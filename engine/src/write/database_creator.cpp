#include "write/database_creator.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "format/database_header.h"
#include "io/rollback_journal.h"
#include "jet/collection.h"
#include "jet/error.h"
#include "jet/types.h"
#include "write/bytes.h"
#include "write/data_page_writer.h"
#include "write/page_sink.h"
#include "write/page_store.h"
#include "write/property_blob_writer.h"
#include "write/system_catalog.h"
#include "write/table_writer.h"
#include "write/text_encoder.h"

namespace jet::write {
namespace {

constexpr std::uint8_t kMagic[4] = {0x00, 0x01, 0x00, 0x00};
constexpr char kEngineName[] = "Standard Jet DB";
constexpr std::size_t kVersionOffset = 0x14;
constexpr std::size_t kCodePageOffset = 0x3C;
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kCreationDateOffset = 0x72;
// Fields of unknown purpose that every Access-written header holds
// (after the mask is removed): a run of small counters from 0x18.
constexpr std::uint8_t kHeaderCounters[] = {0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
                                            0x03, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
constexpr std::size_t kHeaderCountersOffset = 0x18;
constexpr std::size_t kJet3HeaderFlagOffset = 0x38;  // 1 in every Jet 3 header seen
constexpr std::uint32_t kFreePageMapOwner = 1;       // what page 1 holds in its owner field

void writeHeader(std::span<std::uint8_t> page, const NewDatabase& wanted, double created) {
    const auto& format = *wanted.format;
    std::copy(std::begin(kMagic), std::end(kMagic), page.begin());
    std::memcpy(page.data() + 4, kEngineName, sizeof(kEngineName));
    page[kVersionOffset] = format.isJet3() ? 0x00 : 0x01;
    std::copy(std::begin(kHeaderCounters), std::end(kHeaderCounters), page.begin() + kHeaderCountersOffset);
    put16(page, kCodePageOffset, wanted.codePage);
    put16(page, format.sortOrderOffset, wanted.sortOrder);
    // The password in the database's text form, zero-padded (parseLocale
    // checked that it fits).
    const std::vector<std::uint8_t> password = encodeText(wanted.password, format, wanted.codePage);
    std::copy(password.begin(), password.end(), page.begin() + kPasswordOffset);
    if (format.isJet3()) {
        put16(page, kJet3HeaderFlagOffset, 1);
    } else {
        std::memcpy(page.data() + kCreationDateOffset, &created, sizeof(created));
        // Jet 4 masks the password with the creation day, so that with no
        // password the stored bytes are the mask itself.
        const auto key = static_cast<std::uint32_t>(static_cast<std::int32_t>(created));
        for (std::size_t i = 0; i < format.passwordLength; ++i)
            page[kPasswordOffset + i] ^= static_cast<std::uint8_t>(key >> (8 * (i % 4)));
    }
    format::applyHeaderMask(page, format);
}

std::vector<std::uint8_t> databaseProperties(const NewDatabase& wanted) {
    catalog::PropertyBlob blob;
    catalog::PropertyBlock block;
    catalog::StoredProperty version;
    version.name = "AccessVersion";
    version.type = dbText;
    version.value = std::string(wanted.format->isJet3() ? "07.53" : "08.50");
    block.properties.push_back(version);
    blob.blocks.push_back(block);
    return encodePropertyBlob(blob, *wanted.format, wanted.codePage);
}

[[noreturn]] void fileError(int error, const std::string& path) {
    if (error == ENOENT || error == ENOTDIR)
        throw Error(kErrCannotOpenFile, "'" + path + "' is not a valid path. Make sure that the path name is "
                                                     "spelled correctly and that you are connected to the server "
                                                     "on which the file resides.",
                    path);
    if (error == ENOSPC) throw Error(kErrDiskFull, "Not enough space on disk.", path);
    throw Error(kErrNoPermission, "Couldn't open file '" + path + "'.", path);
}

[[noreturn]] void alreadyExists(const std::string& path) {
    throw Error(kErrDatabaseExists, "Database already exists.", path);
}

}  // namespace

std::vector<std::uint8_t> buildNewDatabase(const NewDatabase& wanted) {
    const auto& format = *wanted.format;
    PageStore store(format);
    const double created = oleNow();
    const std::uint32_t header = store.allocate();
    const std::uint32_t freeMap = store.allocate();
    initDataPage(store.modify(freeMap), format, kFreePageMapOwner);
    // A fresh page holds both maps, and they reach pages 0 and 1.
    (void)addRow(store.modify(freeMap), format, freeMap, inlineUsageMap(format, 0, true));
    (void)addRow(store.modify(freeMap), format, freeMap, inlineUsageMap(format, 0, false));
    (void)markInUsageMap(store, {freeMap, 0}, header, false);
    (void)markInUsageMap(store, {freeMap, 0}, freeMap, false);

    // MSysObjects must be first: its definition is always on page 2.
    storage::TableDefinition objects = msysObjectsDefinition(format, wanted.sortOrder);
    storage::TableDefinition aces = msysAcesDefinition(format, wanted.sortOrder);
    storage::TableDefinition queries = msysQueriesDefinition(format, wanted.sortOrder);
    storage::TableDefinition relationships = msysRelationshipsDefinition(format, wanted.sortOrder);
    TableWriter::create(store, objects, wanted.codePage);
    TableWriter::create(store, aces, wanted.codePage);
    TableWriter::create(store, queries, wanted.codePage);
    TableWriter::create(store, relationships, wanted.codePage);

    const auto engine = engineOwner(format);
    const auto user = userOwner(format);
    auto entry = [&](std::int32_t id, std::int32_t parent, const char* name, std::int16_t type, std::uint32_t flags,
                     const std::vector<std::uint8_t>& owner, std::vector<std::uint8_t> props = {}) {
        return CatalogEntry{id, parent, name, type, flags, created, owner, std::move(props)};
    };
    const auto tableId = [](const storage::TableDefinition& d) { return static_cast<std::int32_t>(d.tdefPage); };
    std::vector<CatalogEntry> entries{
        entry(kTablesContainerId, kRootId, "Tables", kTypeContainer, kSystemObjectFlags, engine),
        entry(kDatabasesContainerId, kRootId, "Databases", kTypeContainer, kSystemObjectFlags, engine),
        entry(kRelationshipsContainerId, kRootId, "Relationships", kTypeContainer, kSystemObjectFlags, engine),
        entry(kDatabaseObjectId, kDatabasesContainerId, "MSysDb", kTypeDatabase, kSystemObjectFlags, engine,
              databaseProperties(wanted)),
        entry(tableId(objects), kTablesContainerId, "MSysObjects", kTypeTable, kSystemObjectFlags, engine),
        entry(tableId(aces), kTablesContainerId, "MSysACEs", kTypeTable, kSystemObjectFlags, engine),
        entry(tableId(queries), kTablesContainerId, "MSysQueries", kTypeTable, kSystemObjectFlags, engine),
        entry(tableId(relationships), kTablesContainerId, "MSysRelationships", kTypeTable, kSystemObjectFlags, engine),
    };
    // The containers Access keeps for its own objects, and the documents
    // that hold the database's summary and user-defined properties.
    std::int32_t accessId = static_cast<std::int32_t>(0x80000000u);
    entries.push_back(entry(accessId++, kDatabasesContainerId, "SummaryInfo", kTypeDocument, 0, user));
    entries.push_back(entry(accessId++, kDatabasesContainerId, "UserDefined", kTypeDocument, 0, user));
    for (const char* name : {"Forms", "Reports", "Scripts", "Modules", "SysRel", "DataAccessPages"})
        entries.push_back(entry(accessId++, kRootId, name, kTypeContainer, 0, user));

    TableWriter catalog(store, objects, wanted.codePage);
    for (const auto& e : entries) catalog.insert(catalogRow(objects, e));
    catalog.saveDefinition();

    // The permissions of a blank database, as Access grants them.
    using A = AceAccount;
    std::vector<AceEntry> grants{
        {tableId(objects), A::AdminUser, 393216, false},     {tableId(objects), A::UsersGroup, 20, false},
        {tableId(aces), A::AdminUser, 393216, false},        {tableId(queries), A::AdminUser, 393216, false},
        {tableId(queries), A::UsersGroup, 20, false},        {tableId(relationships), A::AdminUser, 917504, false},
        {tableId(relationships), A::UsersGroup, 20, false},  {kTablesContainerId, A::AdminUser, 1048319, true},
        {kTablesContainerId, A::UsersGroup, 1048319, true},  {kTablesContainerId, A::Other, 983294, true},
        {kDatabasesContainerId, A::AdminUser, 393216, false}, {kRelationshipsContainerId, A::AdminUser, 393217, false},
        {kRelationshipsContainerId, A::UsersGroup, 1048575, true}, {kRelationshipsContainerId, A::Other, 983294, true},
        {kDatabaseObjectId, A::AdminUser, 393230, false},    {kDatabaseObjectId, A::UsersGroup, 14, false},
    };
    for (const auto& e : entries) {
        if (e.type == kTypeDocument) grants.push_back({e.id, A::UsersGroup, 65536, false});
        if (e.type == kTypeContainer && e.parentId == kRootId && e.flags == 0)
            for (A account : {A::AdminUser, A::UsersGroup, A::Other}) grants.push_back({e.id, account, 1048575, true});
    }
    TableWriter permissions(store, aces, wanted.codePage);
    for (const auto& g : grants) permissions.insert(aceRow(aces, g, format));
    permissions.saveDefinition();

    writeHeader(store.modify(header), wanted, created);
    return store.image();
}

namespace {

void writeImage(int fd, const std::vector<std::uint8_t>& image, const NewDatabase& wanted, const std::string& path,
                const SinkWrapper& throughSink, FilePageSink::Journal journal) {
    FilePageSink file(fd, wanted.format->pageSize, path, journal);
    std::unique_ptr<PageSink> wrapped = throughSink ? throughSink(file) : nullptr;
    PageSink& sink = wrapped ? *wrapped : file;
    const std::size_t pageSize = wanted.format->pageSize;
    for (std::size_t n = 0; n * pageSize < image.size(); ++n)
        sink.writePage(static_cast<std::uint32_t>(n), std::span(image).subspan(n * pageSize, pageSize));
    sink.flush();
}

}  // namespace

void createDatabaseFile(const std::string& path, const NewDatabase& wanted, const SinkWrapper& throughSink,
                        FilePageSink::Journal journal) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) alreadyExists(path);
    std::vector<std::uint8_t> image = buildNewDatabase(wanted);

    if (journal == FilePageSink::Journal::Off) {
        // The caller's temporary name: nobody reads it before it is whole.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) alreadyExists(path);
            fileError(errno, path);
        }
        try {
            writeImage(fd, image, wanted, path, throughSink, journal);
        } catch (...) {
            ::close(fd);
            ::unlink(path.c_str());
            throw;
        }
        ::close(fd);
        return;
    }

    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = folder + "/." + base + ".new-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) fileError(errno, path);
    try {
        writeImage(fd, image, wanted, path, throughSink, journal);
        ::fchmod(fd, 0666 & ~[] { mode_t m = ::umask(0); ::umask(m); return m; }());
        ::close(fd);
        fd = -1;
        // A journal left beside a database that was since deleted would be
        // applied to the new one on its first open.
        io::removeJournal(path);
        // link() refuses an existing name, so a file that appeared since
        // the check above is left alone as well.
        if (::link(temp.c_str(), path.c_str()) != 0) {
            int error = errno;
            if (error == EEXIST) alreadyExists(path);
            if (error != EPERM && error != EOPNOTSUPP) fileError(error, path);
            // File systems without hard links: rename, after one more check.
            if (::stat(path.c_str(), &st) == 0) alreadyExists(path);
            if (::rename(temp.c_str(), path.c_str()) != 0) fileError(errno, path);
        }
        ::unlink(temp.c_str());
    } catch (...) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
}

NewDatabase parseLocale(const std::string& locale, const format::JetFormat& format) {
    NewDatabase wanted;
    wanted.format = &format;
    std::size_t at = 0;
    while (at <= locale.size()) {
        std::size_t end = locale.find(';', at);
        if (end == std::string::npos) end = locale.size();
        std::string part = locale.substr(at, end - at);
        at = end + 1;
        if (part.empty()) continue;
        const std::size_t eq = part.find('=');
        if (eq == std::string::npos) throw Error(kErrInvalidArgument, "Invalid argument.", "locale '" + locale + "'");
        const std::string key = part.substr(0, eq), value = part.substr(eq + 1);
        if (namesEqual(key, "PWD")) {
            if (encodeText(value, format, wanted.codePage).size() > format.passwordLength)
                throw Error(kErrInvalidArgument, "Invalid argument.", "password longer than 20 characters");
            wanted.password = value;
            continue;
        }
        char* stop = nullptr;
        const unsigned long number = std::strtoul(value.c_str(), &stop, 0);
        if (value.empty() || *stop != '\0') throw Error(kErrInvalidArgument, "Invalid argument.", "locale '" + locale + "'");
        if (namesEqual(key, "LANGID")) wanted.sortOrder = static_cast<std::uint16_t>(number);
        else if (namesEqual(key, "CP")) wanted.codePage = static_cast<std::uint16_t>(number);
        else if (!namesEqual(key, "COUNTRY")) throw Error(kErrInvalidArgument, "Invalid argument.", "locale '" + locale + "'");
    }
    // Index keys are written in the General order only.
    if (wanted.sortOrder != 0x0409) throw Error(kErrInvalidArgument, "Invalid argument.", "sort order of '" + locale + "'");
    return wanted;
}

}  // namespace jet::write
