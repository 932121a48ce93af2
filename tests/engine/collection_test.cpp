#include "jet/dao.h"

#include <gtest/gtest.h>

#include "support/error_number.h"

// FieldsText: a sign per member, in key order.
TEST(Collection, ByPositionAndCaseInsensitiveNameAndIndexFieldsText) {
    jet::Collection<jet::Field> fields;
    fields.add(std::make_unique<jet::Field>("CustomerID", jet::dbText, 5));
    fields.add(std::make_unique<jet::Field>("Name", jet::dbText, 50));
    EXPECT_EQ(fields.Count(), 2);
    EXPECT_EQ(fields[1].Name(), "Name");
    EXPECT_EQ(fields["customerid"].Size(), 5);
    EXPECT_EQ(fields.find("Missing"), nullptr);

    jet::Index index("PrimaryKey");
    EXPECT_EQ(index.FieldsText(), "");
    index.Fields().add(index.CreateField("OrderID"));
    auto descending = index.CreateField("Product ID");
    descending->SetAttributes(jet::dbDescending);
    index.Fields().add(std::move(descending));
    EXPECT_EQ(index.FieldsText(), "+OrderID;-Product ID");
}

TEST(Collection, MissingItemRaises3265) {
    jet::Collection<jet::Field> fields;
    fields.add(std::make_unique<jet::Field>("A", jet::dbLong, 4));
    EXPECT_EQ(testsupport::errorNumber<jet::Error>([&] { (void)fields[1]; }), 3265);
    try {
        (void)fields["B"];
        FAIL() << "no error raised";
    } catch (const jet::Error& e) {
        EXPECT_EQ(e.number(), 3265);
        EXPECT_STREQ(e.what(), "Item not found in this collection.");
    }
}

TEST(Collection, NamesCompareOnlyAsciiLettersCaselessly) {
    EXPECT_TRUE(jet::namesEqual("Order Details", "ORDER DETAILS"));
    EXPECT_FALSE(jet::namesEqual("\xC3\xA9", "\xC3\x89"));  // é vs É: bytes differ
    EXPECT_FALSE(jet::namesEqual("A", "AB"));
}
