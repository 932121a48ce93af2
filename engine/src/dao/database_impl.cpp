#include "dao/database_impl.h"

#include <algorithm>

#include "catalog/dao_codes.h"
#include "catalog/name_order.h"
#include "catalog/system_tables.h"
#include "dao/catalog_entries.h"
#include "dao/memory_recordset.h"
#include "dao/table_recordset.h"
#include "write/page_sink.h"
#include "write/page_store.h"
#include "write/transaction_pages.h"
#include "dao/object_builders.h"
#include "dao/query_resolver.h"
#include "storage/table_reader.h"
#include "jet/connect_string.h"

namespace jet {
namespace {

std::string versionText(format::JetVersion version) {
    switch (version) {
    case format::JetVersion::Jet3: return "3.0";
    case format::JetVersion::Jet4: return "4.0";
    case format::JetVersion::Ace12: return "12.0";
    case format::JetVersion::Ace14: return "14.0";
    case format::JetVersion::Ace15: return "15.0";
    case format::JetVersion::Ace16: return "16.0";
    case format::JetVersion::Ace17: return "17.0";
    }
    return {};
}

bool isTableObject(int type) {
    return type == catalog::kObjLocalTable || type == catalog::kObjLinkedTable || type == catalog::kObjLinkedOdbc;
}

// What a damaged object says of itself: the engine's finding, which names
// the page, without the file's path (the database is known).
std::string damageText(const Error& e, const std::string& path) {
    std::string text = e.context().empty() ? std::string(e.what()) : e.context();
    if (!path.empty() && text.rfind(path + ": ", 0) == 0) text.erase(0, path.size() + 2);
    return text;
}

// A table whose definition cannot be read: listed by its catalog entry,
// with no fields or indexes and not updatable; opening it reports the damage.
std::unique_ptr<TableDef> damagedTableDef(const catalog::CatalogObject& object, std::string damage) {
    auto table = dao::listedTableDef(object);
    table->SetUpdatable(false);
    table->SetDamage(std::move(damage));
    return table;
}

}  // namespace

std::unique_ptr<DatabaseImpl> DatabaseImpl::open(const std::string& name, bool exclusive, bool readOnly,
                                                 const std::string& connect) {
    io::OpenOptions options;
    options.exclusive = exclusive;
    options.readOnly = readOnly;
    options.password = connectValue(connect, "PWD");
    auto impl = std::make_unique<DatabaseImpl>();
    impl->file = io::PageFile::open(name, options);
    impl->name = name;
    impl->load();
    return impl;
}

std::unique_ptr<DatabaseImpl> DatabaseImpl::openBytes(std::vector<std::uint8_t> bytes, const std::string& name,
                                                      bool readOnly, const std::string& connect) {
    io::OpenOptions options;
    options.readOnly = readOnly;
    options.password = connectValue(connect, "PWD");
    auto impl = std::make_unique<DatabaseImpl>();
    impl->file = io::PageFile::fromBytes(std::move(bytes), name, options);
    impl->name = name;
    impl->load();
    return impl;
}

void DatabaseImpl::load() {
    const auto& header = file->header();
    const auto& format = file->format();
    version = versionText(format.version);
    collatingOrder = catalog::daoCollatingOrder(header.sortOrder);
    codePage = format.unicodeText ? 1200 : (header.codePage ? header.codePage : 1252);
    // This engine writes plain Jet 3 and Jet 4 files only; ACE files and
    // encoded or encrypted ones stay read-only.
    updatable = !file->readOnly() && !format.isAce() && !file->codec();
    transactions = true;

    std::vector<catalog::CatalogObject> objects = catalog::readCatalog(*file);
    catalogIds = dao::catalogIdsOf(objects);

    // Tables and queries hang below the "Tables" container; DAO lists them
    // in the order of the catalog's name index.
    std::int32_t tablesContainer = 0;
    for (const auto& o : objects)
        if (o.type == 3 && namesEqual(o.name, "Tables")) tablesContainer = o.id;
    std::vector<catalog::CatalogObject*> listed;
    for (auto& o : objects)
        if ((isTableObject(o.type) || o.type == catalog::kObjQuery) &&
            (tablesContainer == 0 || o.parentId == tablesContainer))
            listed.push_back(&o);
    catalog::sortInCatalogOrder(listed, [](const catalog::CatalogObject* o) { return std::string_view(o->name); });

    auto queryRows = catalog::readQueryRows(*file, objects);
    complexKinds = catalog::readComplexColumnKinds(*file, objects);
    // Tables are listed by their catalog entries and read when first asked
    // for (TableDef::SetReader): a caller that lists names reads no table
    // definitions, and one damaged definition shows when its table is asked.
    std::vector<const catalog::CatalogObject*> queryObjects;
    std::size_t tableCount = 0;
    for (const auto* o : listed) tableCount += o->type != catalog::kObjQuery;
    tableObjects.clear();
    tableObjects.reserve(tableCount);
    for (auto* o : listed) {
        if (o->type == catalog::kObjQuery) {
            queryObjects.push_back(o);
            continue;
        }
        const std::size_t position = tableObjects.size();
        // The table's stored properties move to its entry rather than being
        // copied: only the table reads them, and a large catalog's would
        // otherwise be held twice until the open is done.
        std::vector<std::uint8_t> stored = std::move(o->properties);
        tableObjects.push_back(*o);
        tableObjects.back().properties = std::move(stored);
        auto table = dao::listedTableDef(*o);
        table->SetReader([this, position](TableDef& unread) { readListedTable(unread, position); });
        tableDefs.add(std::move(table));
        tdefPages.push_back(o->type == catalog::kObjLocalTable ? o->tdefPage() : 0);
    }
    // Queries after the tables: "*" in a query stands for the columns of the
    // tables and queries it reads.
    dao::QueryResolver resolver(queryObjects, queryRows, tableDefs);
    for (const auto* o : queryObjects) {
        const auto damaged = [&](const Error& e) {
            auto query = std::make_unique<QueryDef>(o->name);
            // The catalog flags carry the query's kind in their upper nibble.
            query->SetType(static_cast<int>(o->flags & 0xF0));
            query->SetUpdatable(false);
            query->SetDamage(damageText(e, name));
            queryDefs.add(std::move(query));
        };
        try {
            const auto* rebuilt = resolver.rebuilt(*o);
            if (const Error* failed = rebuilt ? nullptr : resolver.failure(*o)) {
                damaged(*failed);
                continue;
            }
            queryDefs.add(dao::buildQueryDef(*o, rebuilt, *file, updatable));
        } catch (const Error& e) {
            damaged(e);
        }
    }

    dao::buildRelations(catalog::readRelationships(*file, objects), relations);

    // Built-in properties first, as DAO lists them, then what Access stored
    // on the database object (MSysDb).
    properties.add(std::make_unique<Property>("Name", dbText, name));
    properties.add(std::make_unique<Property>("Connect", dbText, std::string()));
    properties.add(std::make_unique<Property>("Transactions", dbBoolean, transactions));
    properties.add(std::make_unique<Property>("Updatable", dbBoolean, updatable));
    properties.add(std::make_unique<Property>("CollatingOrder", dbLong, static_cast<std::int32_t>(collatingOrder)));
    properties.add(std::make_unique<Property>("Version", dbText, version));
    for (const auto& o : objects) {
        if (o.type == 2 && namesEqual(o.name, "MSysDb")) {
            catalog::PropertyBlob blob = dao::readProperties(o, *file);
            dao::addStoredProperties(properties, blob.block(""));
        }
    }
}

void DatabaseImpl::readListedTable(TableDef& table, std::size_t position) {
    requireOpen();
    catalog::CatalogObject& object = tableObjects[position];
    std::unique_ptr<TableDef> read;
    if (object.type == catalog::kObjLocalTable) {
        try {
            storage::TableDefinition definition = storage::readTableDefinition(*file, object.tdefPage());
            read = dao::buildTableDef(object, &definition, *file, updatable, complexKinds);
        } catch (const Error& e) {
            read = damagedTableDef(object, damageText(e, name));
        }
    } else {
        read = dao::buildTableDef(object, nullptr, *file, updatable);
    }
    table = std::move(*read);
    // Its properties are read: the catalog's copy of them is not needed again.
    std::vector<std::uint8_t>().swap(object.properties);
}

void DatabaseImpl::requireOpen() const {
    if (!isOpen) throw Error(kErrObjectInvalid, "Object invalid or no longer set.");
}

std::unique_ptr<Recordset> DatabaseImpl::openRecordset(const std::string& tableName, int type) {
    requireOpen();
    if (type != dbOpenTable && type != dbOpenDynaset)
        throw Error(kErrInvalidArgument, "Invalid argument.");
    int position = -1;
    for (int i = 0; i < tableDefs.Count(); ++i)
        if (namesEqual(tableDefs[i].Name(), tableName)) position = i;
    if (position < 0) {
        if (queryDefs.find(tableName))
            throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.");
        throw Error(kErrInputTableNotFound, "The database engine cannot find the input table or query '" + tableName +
                                                "'. Make sure it exists and that its name is spelled correctly.");
    }
    const std::uint32_t tdefPage = tdefPages[static_cast<std::size_t>(position)];
    // Linked tables live in another file, which this engine does not open.
    if (tdefPage == 0) throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.");

    if (updatable && tableDefs[position].Updatable())
        return std::make_unique<dao::TableRecordset>(*this, tableDefs[position].Name(), tdefPage, type);
    TableSnapshot snapshot = readTableSnapshot(position);
    return std::make_unique<dao::MemoryRecordset>(type, std::move(snapshot.fields), std::move(snapshot.rows),
                                                  std::move(snapshot.indexes));
}

DatabaseImpl::TableSnapshot DatabaseImpl::readTableSnapshot(int position) {
    TableSnapshot snapshot;
    const TableDef& table = tableDefs[position];
    storage::TableDefinition definition = storage::readTableDefinition(*file, tdefPages[static_cast<std::size_t>(position)]);
    for (const auto& f : table.Fields()) {
        auto field = std::make_unique<Field>(f->Name(), f->Type(), f->Size());
        field->SetAttributes(f->Attributes());
        field->SetOrdinalPosition(f->OrdinalPosition());
        snapshot.fields.push_back(std::move(field));
    }
    storage::TableReader reader(*file, definition);
    storage::Row row;
    while (reader.next(row)) {
        snapshot.rows.push_back(std::move(row.values));
        snapshot.locations.push_back(row.location);
    }
    for (const auto& index : table.Indexes()) {
        dao::RecordsetIndex ri;
        ri.name = index->Name();
        ri.jet3Text = file->format().isJet3();
        for (const auto& member : index->Fields()) {
            const Field* column = table.Fields().find(member->Name());
            if (!column) continue;
            ri.columns.push_back(column->OrdinalPosition());
            ri.descending.push_back((member->Attributes() & dbDescending) != 0);
        }
        snapshot.indexes.push_back(std::move(ri));
    }
    return snapshot;
}

void DatabaseImpl::commit(write::PageStore& store) {
    if (transaction && transaction->holding()) {
        store.commit(transaction->sink());
        return;
    }
    commitToFile(store);
}

int DatabaseImpl::transactionDepth() const { return transaction ? transaction->depth() : 0; }

void DatabaseImpl::beginTransaction() {
    requireOpen();
    if (!transaction) transaction = std::make_unique<write::TransactionPages>(*file);
    transaction->begin();
}

void DatabaseImpl::commitTransaction() {
    if (!isOpen || transactionDepth() == 0) return;
    if (transaction->depth() > 1) {
        transaction->commitInner();
        return;
    }
    if (!transaction->heldPages().empty()) {
        if (commitOverride) {
            write::PageStore store(*file);
            for (std::uint32_t number : transaction->heldPages()) store.modify(number);
            commitOverride(store);
        } else {
            // Straight from the cache: a large transaction is not copied.
            writeToFile([this](write::PageSink& sink) {
                write::writeHeldPages(*file, sink, transaction->heldPages());
            });
        }
    }
    transaction->endOutermost();
}

void DatabaseImpl::rollbackTransaction() {
    if (!isOpen || transactionDepth() == 0) return;
    if (!transaction->rollback()) return;
    // The objects built from the pages given back are gone with them.
    reload();
    tellListeners([](dao::RowChangeListener& listener) { listener.rowsRolledBack(); });
}

void DatabaseImpl::commitToFile(write::PageStore& store) {
    if (commitOverride) {
        commitOverride(store);
        return;
    }
    writeToFile([&store](write::PageSink& sink) { store.commit(sink); });
}

void DatabaseImpl::writeToFile(const std::function<void(write::PageSink&)>& write) {
    if (file->inMemory()) {
        // The PageFile takes the pages itself when the store commits.
        struct NoSink : write::PageSink {
            void writePage(std::uint32_t, std::span<const std::uint8_t>) override {}
            void flush() override {}
        } sink;
        write(sink);
        return;
    }
    // Other openers hold shared locks and cache pages: writing under
    // them would hand them a database that changed beneath them. Write
    // only while no one else has the file open.
    if (!file->lockForWrite())
        throw Error(kErrLockedForUpdate, "Couldn't update; currently locked by another session on this machine.",
                    file->path());
    try {
        write::FilePageSink sink(file->descriptor(), file->pageSize(), file->path(),
                                 journaled ? write::FilePageSink::Journal::On : write::FilePageSink::Journal::Off);
        write(sink);
    } catch (...) {
        file->unlockAfterWrite();
        throw;
    }
    file->unlockAfterWrite();
}

void DatabaseImpl::tellListeners(const std::function<void(dao::RowChangeListener&)>& tell) {
    std::erase_if(rowListeners, [](const auto& listener) { return listener.expired(); });
    // A copy: a listener may open or drop recordsets while it follows.
    const auto listeners = rowListeners;
    for (const auto& weak : listeners)
        if (auto listener = weak.lock()) tell(*listener);
}

void DatabaseImpl::publish(const dao::CommittedRows& rows) {
    tellListeners([&rows](dao::RowChangeListener& listener) { listener.rowsChanged(rows); });
}

void DatabaseImpl::close() {
    requireOpen();
    isOpen = false;
    transaction.reset();  // what it held back is given up with the file
    file.reset();         // releases the file lock
}

}  // namespace jet
