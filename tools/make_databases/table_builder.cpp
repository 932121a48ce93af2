#include "table_builder.h"

#include <cstdint>

namespace makedb {

void appendTable(jet::Database& db, const std::string& name, const std::vector<Column>& columns,
                 const std::vector<Index>& indexes) {
    auto table = db.CreateTableDef(name);
    for (const Column& column : columns) {
        auto field = table->CreateField(column.name, column.type, column.size);
        field->SetRequired(column.required);
        field->SetAttributes(column.attributes);
        table->Fields().Append(std::move(field));
    }
    for (const Index& wanted : indexes) {
        auto index = table->CreateIndex(wanted.name);
        index->SetPrimary(wanted.primary);
        index->SetUnique(wanted.unique || wanted.primary);
        for (const std::string& member : wanted.members) {
            const bool descending = !member.empty() && member.front() == '-';
            auto field = index->CreateField(descending ? member.substr(1) : member);
            if (descending) field->SetAttributes(jet::dbDescending);
            index->Fields().Append(std::move(field));
        }
        table->Indexes().Append(std::move(index));
    }
    db.TableDefs().Append(std::move(table));
}

void addRows(jet::Database& db, const std::string& table, const std::vector<Row>& rows) {
    auto rs = db.OpenRecordset(table, jet::dbOpenTable);
    for (const Row& row : rows) {
        rs->AddNew();
        try {
            for (const auto& [column, value] : row) rs->SetValue(column, value);
            rs->Update();
        } catch (...) {
            rs->CancelUpdate();
            throw;
        }
    }
    rs->Close();
}

Column autoNumber(const std::string& name) { return {name, jet::dbLong, 0, false, jet::dbAutoIncrField}; }

jet::Value money(long long units, int cents) { return jet::Currency{(units * 100 + cents) * 100}; }

jet::Value date(int year, int month, int day) {
    // OLE dates count days from 30 December 1899; 1 January 1900 is day 2.
    // The delivered data lies well after 1900, the only range this counts.
    auto leap = [](int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; };
    static constexpr int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    long days = 2;
    for (int y = 1900; y < year; ++y) days += leap(y) ? 366 : 365;
    days += kDaysBefore[month - 1] + (month > 2 && leap(year) ? 1 : 0) + day - 1;
    return jet::DateTime{static_cast<double>(days)};
}

}  // namespace makedb
