#include "catalog/query_parts.h"

#include "jet/error.h"

namespace jet::queries::detail {

namespace {

constexpr std::int32_t kCatalogTypeMask = 0xF0;

std::optional<Kind> kindFromTypeRow(int flag) {
    switch (flag) {
    case 1: return Kind::Select;
    case 2: return Kind::MakeTable;
    case 3: return Kind::Append;
    case 4: return Kind::Update;
    case 5: return Kind::Delete;
    case 6: return Kind::Crosstab;
    case 7: return Kind::DataDefinition;
    case 8: return Kind::PassThrough;
    case 9: return Kind::Union;
    default: return std::nullopt;
    }
}

std::optional<Kind> kindFromCatalog(std::int32_t flags) {
    switch (flags & kCatalogTypeMask) {
    case dbQSelect: return Kind::Select;
    case dbQCrosstab: return Kind::Crosstab;
    case dbQDelete: return Kind::Delete;
    case dbQUpdate: return Kind::Update;
    case dbQAppend: return Kind::Append;
    case dbQMakeTable: return Kind::MakeTable;
    case dbQDDL: return Kind::DataDefinition;
    case dbQSQLPassThrough:
    case dbQSPTBulk: return Kind::PassThrough;
    case dbQSetOperation: return Kind::Union;
    default: return std::nullopt;
    }
}

int daoTypeOf(Kind kind) {
    switch (kind) {
    case Kind::Select: return dbQSelect;
    case Kind::MakeTable: return dbQMakeTable;
    case Kind::Append: return dbQAppend;
    case Kind::Update: return dbQUpdate;
    case Kind::Delete: return dbQDelete;
    case Kind::Crosstab: return dbQCrosstab;
    case Kind::DataDefinition: return dbQDDL;
    case Kind::PassThrough: return dbQSQLPassThrough;
    case Kind::Union: return dbQSetOperation;
    }
    return dbQSelect;
}

// Where Jet keeps one row of a part, a second one is noise: the first wins.
template <class T>
void keepFirst(std::optional<T>& slot, T value) {
    if (!slot) slot = std::move(value);
}

}  // namespace

void throwDamagedQuery(const std::string& why) {
    throw Error(kErrDamaged, "The query definition is damaged and cannot be read.", why);
}

std::string textOf(const std::optional<std::string>& field) {
    if (!field) return {};
    // Access writes some texts C-style, with their terminating NUL.
    auto nul = field->find('\0');
    return nul == std::string::npos ? *field : field->substr(0, nul);
}

QueryParts collectParts(const std::vector<QueryRow>& rows, std::int32_t catalogFlags) {
    if (rows.empty()) throwDamagedQuery("no MSysQueries rows");
    QueryParts parts;
    for (const QueryRow& row : rows) {
        if (row.objectId != rows.front().objectId) throwDamagedQuery("rows of more than one query");
        switch (row.attribute) {
        case kAttrType: keepFirst(parts.typeRow, row); break;
        case kAttrParameter: parts.parameters.push_back(row); break;
        case kAttrOptions: keepFirst(parts.options, row); break;
        case kAttrInputDatabase: keepFirst(parts.inputDatabase, row); break;
        case kAttrSource: parts.sources.push_back(row); break;
        case kAttrColumn: parts.columns.push_back(row); break;
        case kAttrJoin: parts.joins.push_back(row); break;
        case kAttrWhere:
            if (row.expression) keepFirst(parts.where, textOf(row.expression));
            break;
        case kAttrGroupBy: parts.groupBy.push_back(row); break;
        case kAttrHaving:
            if (row.expression) keepFirst(parts.having, textOf(row.expression));
            break;
        case kAttrOrderBy: parts.orderBy.push_back(row); break;
        default: break;  // start, end and attributes this engine does not know
        }
    }

    // The type row describes the rows themselves, so it decides; the catalog
    // flags stand in for queries stored without one.
    std::optional<Kind> kind;
    if (parts.typeRow && parts.typeRow->flag) kind = kindFromTypeRow(*parts.typeRow->flag);
    if (!kind) kind = kindFromCatalog(catalogFlags);
    parts.kind = kind.value_or(Kind::Select);
    // A kind this engine does not know keeps its catalog code; its rows are
    // read as a select query's, the best reading there is.
    parts.daoType = kind ? daoTypeOf(parts.kind) : (catalogFlags & kCatalogTypeMask);
    if (parts.kind == Kind::PassThrough && (catalogFlags & kCatalogTypeMask) == dbQSPTBulk) parts.daoType = dbQSPTBulk;
    return parts;
}

}  // namespace jet::queries::detail
