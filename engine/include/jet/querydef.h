// QueryDef: a saved query, its SQL text rebuilt as Access shows it.
#pragma once

#include <string>

#include "jet/field.h"
#include "jet/value.h"

namespace jet {

class QueryDef {
public:
    QueryDef() = default;
    explicit QueryDef(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    int Type() const { return type_; }  // a dbQ... code
    // Clauses on their own lines, each line (the last with its ";")
    // ending in CR LF.
    const std::string& SQL() const { return sql_; }
    const DateTime& DateCreated() const { return dateCreated_; }
    const DateTime& LastUpdated() const { return lastUpdated_; }
    long MaxRecords() const { return maxRecords_; }
    const std::string& Connect() const { return connect_; }
    bool ReturnsRecords() const { return returnsRecords_; }
    bool Updatable() const { return updatable_; }
    // Why the query's stored definition could not be read, naming the page
    // (empty when it was read); such a query has no SQL and no fields.
    const std::string& Damage() const { return damage_; }
    // The query's output columns, named as DAO names them.
    Collection<Field>& Fields() { return fields_; }
    const Collection<Field>& Fields() const { return fields_; }
    Collection<Property>& Properties() { return properties_; }
    const Collection<Property>& Properties() const { return properties_; }

    void SetName(std::string v) { name_ = std::move(v); }
    void SetType(int v) { type_ = v; }
    void SetSQL(std::string v) { sql_ = std::move(v); }
    void SetDateCreated(DateTime v) { dateCreated_ = v; }
    void SetLastUpdated(DateTime v) { lastUpdated_ = v; }
    void SetMaxRecords(long v) { maxRecords_ = v; }
    void SetConnect(std::string v) { connect_ = std::move(v); }
    void SetReturnsRecords(bool v) { returnsRecords_ = v; }
    void SetUpdatable(bool v) { updatable_ = v; }
    void SetDamage(std::string v) { damage_ = std::move(v); }

private:
    std::string name_;
    int type_ = 0;
    std::string sql_;
    DateTime dateCreated_, lastUpdated_;
    long maxRecords_ = 0;
    std::string connect_;
    bool returnsRecords_ = true;
    bool updatable_ = true;
    std::string damage_;
    Collection<Field> fields_;
    Collection<Property> properties_;
};

}  // namespace jet
