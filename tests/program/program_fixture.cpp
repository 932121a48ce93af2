#include "program_fixture.h"

#include "clsRegistry.h"
#include "clsSubs1.h"

#include <gtest/gtest.h>

namespace programtest {

KeyedRecordset::KeyedRecordset(std::vector<std::string> columns, std::vector<std::vector<jet::Value>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {
    for (const auto& name : columns_) fields_.add(std::make_unique<jet::Field>(name, jet::dbText, 50));
    moveTo(0);
}

int KeyedRecordset::Type() const { return jet::dbOpenTable; }

void KeyedRecordset::SetIndex(const std::string& name) {
    if (name != "PrimaryKey") throw jet::Error(3800, "'" + name + "' is not an index in this table.");
    index_ = name;
}

void KeyedRecordset::Seek(const std::string& comparison, const std::vector<jet::Value>& key) {
    // Seek without a current index is refused, as the engine refuses it.
    if (index_.empty()) throw jet::Error(3019, "Operation invalid without a current index.");
    EXPECT_EQ(comparison, "=");
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (!key.empty() && rows_[row][0] == key[0]) {
            noMatch_ = false;
            moveTo(row);
            return;
        }
    noMatch_ = true;
    moveTo(rows_.size());
}

void KeyedRecordset::unsupported() {
    throw jet::Error(jet::kErrOperationNotSupported, "Operation is not supported for this type of object.");
}

void KeyedRecordset::moveTo(std::size_t position) {
    position_ = position;
    for (std::size_t c = 0; c < columns_.size(); ++c)
        fields_[static_cast<int>(c)].SetValue(position_ < rows_.size() ? rows_[position_][c] : jet::Value{});
}


void resetGlobals() {
    dbCurrent.reset();
    bDbOpen = 0;
    sDbPath.clear();
    dbSettings.reset();
    bSettingsOpen = 0;
    sTabSetting.clear();
    sPrintSetting.clear();
    sFieldType = {};
    sErrArea.clear();
    oSubs.reset();
    oRegistry.reset();
    bFirstRun = 0;
    sMessage.clear();
    sCurrentObject.clear();
    bQuerySelected = 0;
    bRelationSelected = 0;
    bListReady = 0;
    ResetEndRequest();
}

std::shared_ptr<MemoryDatabase> sampleDatabase() {
    auto db = std::make_shared<MemoryDatabase>();
    auto customers = makeTable("Customers");
    customers->Fields().add(makeField("CustomerID", jet::dbText, 5, jet::dbVariableField, true, false));
    customers->Fields().add(makeField("CompanyName", jet::dbText, 40, jet::dbVariableField, true, false));
    customers->Fields().add(makeField("Notes", jet::dbMemo, 0, jet::dbVariableField));
    customers->Indexes().add(makeIndex("PrimaryKey", {{"CustomerID", 0}}, true, true));
    customers->Indexes().add(makeIndex("CompanyName", {{"CompanyName", 0}}, false, false));
    db->tables.add(std::move(customers));

    db->tables.add(makeTable("MSysObjects", jet::dbSystemObject));

    auto details = makeTable("Order Details");
    details->Fields().add(makeField("DetailID", jet::dbLong, 4, jet::dbFixedField + jet::dbAutoIncrField));
    details->Fields().add(makeField("OrderID", jet::dbLong, 4, jet::dbFixedField));
    details->Fields().add(makeField("ProductID", jet::dbLong, 4, jet::dbFixedField));
    details->Indexes().add(makeIndex("PrimaryKey", {{"OrderID", 0}, {"ProductID", 1}}, true, true));
    db->tables.add(std::move(details));

    auto query = makeQuery("Customer List", "SELECT Customers.CustomerID, Customers.CompanyName\r\nFROM Customers\r\nORDER BY Customers.CompanyName;\r\n",
                           {"CustomerID", "CompanyName"});
    query->SetType(jet::dbQSelect);
    query->SetDateCreated({35000.5});
    query->SetLastUpdated({35001.25});
    db->queries.add(std::move(query));
    db->queries.add(makeQuery("~sq_cOrders", "SELECT * FROM Orders;\r\n"));

    db->relations.add(makeRelation("CustomersOrder Details", "Customers", "Order Details", {{"CustomerID", "OrderID"}},
                                   jet::dbRelationUpdateCascade));
    return db;
}

}  // namespace programtest
