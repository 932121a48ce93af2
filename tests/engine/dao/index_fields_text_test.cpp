#include "jet/dao.h"

#include <gtest/gtest.h>

TEST(IndexFieldsText, SignPerMemberInKeyOrder) {
    jet::Index index("PrimaryKey");
    EXPECT_EQ(index.FieldsText(), "");
    index.Fields().add(index.CreateField("OrderID"));
    EXPECT_EQ(index.FieldsText(), "+OrderID");
    auto descending = index.CreateField("Product ID");
    descending->SetAttributes(jet::dbDescending);
    index.Fields().add(std::move(descending));
    EXPECT_EQ(index.FieldsText(), "+OrderID;-Product ID");
}
