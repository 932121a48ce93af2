#include "program_fixture.h"

#include "clsRegistry.h"
#include "clsSubs1.h"

#include <gtest/gtest.h>

namespace programtest {

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
