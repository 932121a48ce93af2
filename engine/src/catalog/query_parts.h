// The rows of one saved query sorted into its parts, and the kind of query
// they describe. Internal to the query rebuilder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/query_sql.h"

namespace jet::queries::detail {

// The query kinds as the type row numbers them (its Flag value).
enum class Kind { Select, MakeTable, Append, Update, Delete, Crosstab, DataDefinition, PassThrough, Union };

// MSysQueries attribute numbers: which part of the query a row describes.
enum Attribute : int {
    kAttrStart = 0,
    kAttrType = 1,
    kAttrParameter = 2,
    kAttrOptions = 3,
    kAttrInputDatabase = 4,
    kAttrSource = 5,
    kAttrColumn = 6,
    kAttrJoin = 7,
    kAttrWhere = 8,
    kAttrGroupBy = 9,
    kAttrHaving = 10,
    kAttrOrderBy = 11,
    kAttrEnd = 255,
};

// Bits of the options row's Flag.
constexpr int kOptAllColumns = 0x01;   // "*" follows the listed columns
constexpr int kOptDistinct = 0x02;     // DISTINCT; for a union: not UNION ALL
constexpr int kOptOwnerAccess = 0x04;  // WITH OWNERACCESS OPTION
constexpr int kOptDistinctRow = 0x08;
constexpr int kOptTop = 0x10;          // TOP n, n in the options row's Name1
constexpr int kOptPercent = 0x20;

// Flag bits of a crosstab's column and group rows.
constexpr int kCrosstabPivot = 0x01;
constexpr int kCrosstabRowHeading = 0x02;

// Flag bit of an append query's column row that holds a VALUES item.
constexpr int kAppendValue = 0x8000;

// Name2 of the two source rows that hold the texts of a union's parts.
inline constexpr const char* kUnionPart1 = "X7YZ_____1";
inline constexpr const char* kUnionPart2 = "X7YZ_____2";

struct QueryParts {
    Kind kind = Kind::Select;
    int daoType = dbQSelect;
    std::optional<QueryRow> typeRow;
    std::optional<QueryRow> options;
    std::optional<QueryRow> inputDatabase;
    std::optional<std::string> where;
    std::optional<std::string> having;
    std::vector<QueryRow> parameters;
    std::vector<QueryRow> sources;
    std::vector<QueryRow> columns;
    std::vector<QueryRow> joins;
    std::vector<QueryRow> groupBy;
    std::vector<QueryRow> orderBy;

    int optionFlags() const { return options && options->flag ? *options->flag : 0; }
    bool hasOption(int bit) const { return (optionFlags() & bit) != 0; }
};

// Sorts the rows into parts, keeping stored order within each part, and
// settles the kind from the type row or, failing that, the catalog flags.
// Throws jet::Error 3049 for no rows or rows of more than one query.
QueryParts collectParts(const std::vector<QueryRow>& rows, std::int32_t catalogFlags);

// The text of a field up to a terminating NUL, or "" when Null.
std::string textOf(const std::optional<std::string>& field);

// Throws jet::Error 3049, `why` as its context.
[[noreturn]] void throwDamagedQuery(const std::string& why);

}  // namespace jet::queries::detail
