#include "json_writer.h"

#include <sstream>

#include <gtest/gtest.h>

TEST(JsonWriter, NestsObjectsAndArraysWithCommasInTheRightPlaces) {
    std::ostringstream out;
    cli::JsonWriter json(out, 0);
    json.beginObject();
    json.member("name", "Orders");
    json.key("fields");
    json.beginArray();
    json.value("A");
    json.value(3);
    json.endArray();
    json.key("empty");
    json.beginArray();
    json.endArray();
    json.member("ok", true);
    json.key("none");
    json.null();
    json.endObject();
    EXPECT_EQ(out.str(), R"({"name":"Orders","fields":["A",3],"empty":[],"ok":true,"none":null})");
}

TEST(JsonWriter, EscapesQuotesControlCharactersAndKeepsUtf8) {
    EXPECT_EQ(cli::JsonWriter::escape("a\"b\\c\r\n\x01\x1f"), "a\\\"b\\\\c\\r\\n\\u0001\\u001f");
    EXPECT_EQ(cli::JsonWriter::escape("Caf\xC3\xA9"), "Caf\xC3\xA9");
}
