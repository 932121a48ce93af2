#include "sample_database.h"

#include <cstdint>

#include "table_builder.h"

namespace makedb {

namespace {

jet::Value text(const char* value) { return std::string(value); }
jet::Value integer(int value) { return static_cast<std::int16_t>(value); }
jet::Value longInteger(int value) { return static_cast<std::int32_t>(value); }

void addRows(jet::Database& db, const std::string& table, const std::vector<Row>& rows) {
    auto rs = db.OpenRecordset(table, jet::dbOpenTable);
    for (const Row& row : rows) addRow(*rs, row);
    rs->Close();
}

void makeSuppliers(jet::Database& db) {
    appendTable(db, "Suppliers",
                {autoNumber("SupplierID"),
                 {"CompanyName", jet::dbText, 40, true},
                 {"ContactName", jet::dbText, 30},
                 {"Phone", jet::dbText, 24},
                 {"City", jet::dbText, 20},
                 {"Country", jet::dbText, 20},
                 {"Preferred", jet::dbBoolean},
                 {"Notes", jet::dbMemo}},
                {{"PrimaryKey", {"SupplierID"}, true}, {"CompanyName", {"CompanyName"}}});
    auto supplier = [](const char* company, const char* contact, const char* phone, const char* city,
                       const char* country, bool preferred, const char* notes) {
        Row row = {{"CompanyName", text(company)}, {"ContactName", text(contact)}, {"Phone", text(phone)},
                   {"City", text(city)},           {"Country", text(country)},     {"Preferred", preferred}};
        if (notes) row.emplace_back("Notes", text(notes));
        return row;
    };
    addRows(db, "Suppliers",
            {supplier("Brightwater Paper Mills", "Ingrid Solberg", "+47 55 30 18 41", "Bergen", "Norway", true,
                      "Ships on the first Monday of the month.\r\nMinimum order: 20 reams."),
             supplier("Harlow & Finch Office Supply", "Daniel Harlow", "+44 113 496 0321", "Leeds", "United Kingdom",
                      false, nullptr),
             supplier("Cascadia Ink Works", "Marisol Ortega", "+1 503 555 0147", "Portland", "USA", true,
                      "Empty cartridges are collected with every delivery and refilled within ten days."),
             supplier("Kessler Möbelbau", "Jonas Keßler", "+49 711 555 2090", "Stuttgart", "Germany", false,
                      "Desks and chairs built to order; allow six weeks.")});
}

void makeProducts(jet::Database& db) {
    appendTable(db, "Products",
                {autoNumber("ProductID"),
                 {"ProductName", jet::dbText, 40, true},
                 {"SupplierID", jet::dbLong, 0, true},
                 {"Category", jet::dbText, 20},
                 {"UnitPrice", jet::dbCurrency},
                 {"UnitsInStock", jet::dbInteger},
                 {"ReorderLevel", jet::dbInteger},
                 {"Discontinued", jet::dbBoolean},
                 {"Description", jet::dbMemo}},
                {{"PrimaryKey", {"ProductID"}, true},
                 {"ProductName", {"ProductName"}, false, true},
                 {"SupplierID", {"SupplierID"}},
                 // The price list reads from the dearest item down.
                 {"PriceHighToLow", {"-UnitPrice"}}});
    auto product = [](const char* name, int supplier, const char* category, jet::Value price, int stock,
                      int reorder, bool discontinued, const char* description) {
        Row row = {{"ProductName", text(name)},    {"SupplierID", longInteger(supplier)},
                   {"Category", text(category)},   {"UnitPrice", std::move(price)},
                   {"UnitsInStock", integer(stock)}, {"ReorderLevel", integer(reorder)},
                   {"Discontinued", discontinued}};
        if (description) row.emplace_back("Description", text(description));
        return row;
    };
    addRows(db, "Products",
            {product("A4 Copier Paper, 500 sheets", 1, "Paper", money(4, 95), 320, 100, false, nullptr),
             product("A3 Drawing Paper, 250 sheets", 1, "Paper", money(12, 40), 45, 20, false,
                     "Acid-free, 160 g/m², for pencil, ink and watercolour."),
             product("Black Toner Cartridge TX-20", 3, "Ink", money(68), 18, 10, false, nullptr),
             product("Colour Ink Set CL-4", 3, "Ink", money(39, 90), 0, 5, true,
                     "Replaced by the CL-6 set; remaining orders are filled from returns."),
             product("Ballpoint Pens, box of 50", 2, "Writing", money(11, 25), 140, 40, false, nullptr),
             product("Lever Arch Files, pack of 10", 2, "Filing", money(23, 50), 60, 15, false, nullptr),
             product("Height-Adjustable Desk", 4, "Furniture", money(549), 4, 2, false,
                     "Electric lift from 62 to 128 cm with four memory positions. Oak veneer top, 160 x 80 cm; "
                     "steel frame in white or anthracite. Delivered flat-packed with tools; assembly takes "
                     "about forty minutes for two people. Ten-year guarantee on frame and motor."),
             product("Task Chair with Lumbar Support", 4, "Furniture", money(289), 7, 3, false, nullptr)});
}

void makeCustomers(jet::Database& db) {
    appendTable(db, "Customers",
                {autoNumber("CustomerID"),
                 {"CustomerCode", jet::dbText, 8, true},
                 {"CompanyName", jet::dbText, 40, true},
                 {"ContactName", jet::dbText, 30},
                 {"Address", jet::dbText, 60},
                 {"City", jet::dbText, 20},
                 {"PostalCode", jet::dbText, 10},
                 {"Country", jet::dbText, 20},
                 {"CreditLimit", jet::dbCurrency},
                 {"CustomerSince", jet::dbDate},
                 {"Active", jet::dbBoolean}},
                {{"PrimaryKey", {"CustomerID"}, true},
                 {"CustomerCode", {"CustomerCode"}, false, true},
                 {"CountryCity", {"Country", "City"}}});
    auto customer = [](const char* code, const char* company, const char* contact, const char* address,
                       const char* city, const char* postalCode, const char* country, jet::Value credit,
                       jet::Value since, bool active) {
        return Row{{"CustomerCode", text(code)},      {"CompanyName", text(company)}, {"ContactName", text(contact)},
                   {"Address", text(address)},        {"City", text(city)},           {"PostalCode", text(postalCode)},
                   {"Country", text(country)},        {"CreditLimit", std::move(credit)},
                   {"CustomerSince", std::move(since)}, {"Active", active}};
    };
    addRows(db, "Customers",
            {customer("ALDER", "Alder Street Architects", "Fiona Reid", "14 Alder Street", "Edinburgh", "EH3 9QP",
                      "United Kingdom", money(5000), date(2019, 3, 12), true),
             customer("BLUEH", "Bluehaven Dental Clinic", "Tomas Lindqvist", "Strandvägen 8", "Stockholm",
                      "114 56", "Sweden", money(2500), date(2020, 6, 1), true),
             customer("CORAL", "Coral Bay Travel", "Aisha Mensah", "22 Harbour Road", "Cape Town", "8001",
                      "South Africa", money(1500), date(2021, 1, 18), true),
             customer("DUNMORE", "Dunmore & Sons Solicitors", "Patrick Dunmore", "3 Quay Street", "Galway",
                      "H91 X2T4", "Ireland", money(7500), date(2018, 9, 4), true),
             customer("ELMWOOD", "Elmwood Primary School", "Grace Okafor", "90 Elmwood Avenue", "Toronto",
                      "M4E 1A1", "Canada", money(3000), date(2022, 2, 28), true),
             customer("FJORD", "Fjordline Consulting", "Erik Haugen", "Karl Johans gate 12", "Oslo", "0154",
                      "Norway", money(0), date(2017, 11, 20), false)});
}

void makeOrders(jet::Database& db) {
    appendTable(db, "Orders",
                {autoNumber("OrderID"),
                 {"CustomerID", jet::dbLong, 0, true},
                 {"OrderDate", jet::dbDate, 0, true},
                 {"ShippedDate", jet::dbDate},
                 {"Freight", jet::dbCurrency},
                 {"Paid", jet::dbBoolean},
                 {"Remarks", jet::dbMemo}},
                {{"PrimaryKey", {"OrderID"}, true},
                 {"CustomerID", {"CustomerID"}},
                 // The order book opens on the newest order.
                 {"OrderDate", {"-OrderDate"}}});
    auto order = [](int customer, jet::Value ordered, jet::Value shipped, jet::Value freight, bool paid,
                    const char* remarks) {
        Row row = {{"CustomerID", longInteger(customer)}, {"OrderDate", std::move(ordered)},
                   {"Freight", std::move(freight)}, {"Paid", paid}};
        if (!jet::isNull(shipped)) row.emplace_back("ShippedDate", std::move(shipped));
        if (remarks) row.emplace_back("Remarks", text(remarks));
        return row;
    };
    const jet::Value notShipped = jet::Null{};
    addRows(db, "Orders",
            {order(1, date(2024, 1, 9), date(2024, 1, 11), money(12, 50), true, nullptr),
             order(2, date(2024, 1, 15), date(2024, 1, 18), money(8), true, nullptr),
             order(4, date(2024, 2, 2), date(2024, 2, 5), money(25), true,
                   "Deliver to the back entrance; reception closes at 17:00."),
             order(1, date(2024, 2, 20), date(2024, 2, 21), money(0), true, "Collected by the customer."),
             order(3, date(2024, 3, 3), date(2024, 3, 8), money(31, 75), false, nullptr),
             order(5, date(2024, 3, 14), notShipped, money(15), false, "School holidays: ship after 25 March."),
             order(2, date(2024, 3, 18), notShipped, money(8), false, nullptr),
             order(4, date(2024, 3, 21), notShipped, money(45), false,
                   "Two desks and two chairs for the new meeting room on the second floor. The lift is "
                   "out of order until April: the carrier must bring a stair trolley.")});
}

void makeOrderLines(jet::Database& db) {
    appendTable(db, "OrderLines",
                {autoNumber("LineID"),
                 {"OrderID", jet::dbLong, 0, true},
                 {"LineNumber", jet::dbInteger, 0, true},
                 {"ProductID", jet::dbLong, 0, true},
                 {"Quantity", jet::dbInteger, 0, true},
                 {"UnitPrice", jet::dbCurrency},
                 {"Discount", jet::dbSingle}},
                {{"PrimaryKey", {"OrderID", "LineNumber"}, true},
                 {"LineID", {"LineID"}, false, true},
                 {"ProductID", {"ProductID"}}});
    struct Line {
        int order, line, product, quantity;
        jet::Value price;
        float discount;
    };
    const std::vector<Line> lines = {
        {1, 1, 1, 20, money(4, 95), 0.0f},   {1, 2, 5, 2, money(11, 25), 0.0f},
        {2, 1, 3, 2, money(68), 0.05f},      {3, 1, 1, 40, money(4, 75), 0.1f},
        {3, 2, 6, 5, money(23, 50), 0.1f},   {3, 3, 5, 4, money(11, 25), 0.1f},
        {4, 1, 2, 3, money(12, 40), 0.0f},   {5, 1, 3, 1, money(68), 0.0f},
        {5, 2, 4, 2, money(39, 90), 0.25f},  {6, 1, 1, 60, money(4, 95), 0.15f},
        {6, 2, 5, 10, money(11, 25), 0.15f}, {7, 1, 1, 10, money(4, 95), 0.0f},
        {8, 1, 7, 2, money(549), 0.05f},     {8, 2, 8, 2, money(289), 0.05f},
    };
    std::vector<Row> rows;
    for (const Line& l : lines)
        rows.push_back({{"OrderID", longInteger(l.order)},
                        {"LineNumber", integer(l.line)},
                        {"ProductID", longInteger(l.product)},
                        {"Quantity", integer(l.quantity)},
                        {"UnitPrice", l.price},
                        {"Discount", l.discount}});
    addRows(db, "OrderLines", rows);
}

}  // namespace

void makeSampleDatabase(const std::string& path) {
    auto db = jet::DBEngine().CreateDatabase(path, jet::dbLangGeneral);
    makeSuppliers(*db);
    makeProducts(*db);
    makeCustomers(*db);
    makeOrders(*db);
    makeOrderLines(*db);
    db->Close();
}

}  // namespace makedb
