// The dump's JSON writer: output that strict readers accept for any text and any number.
#include "json_reader.h"
#include "sim/json.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

using sim::Json;

TEST(Json, TextIsEscapedAndInvalidUtf8Replaced) {
    EXPECT_EQ(sim::jsonQuote("say \"hi\"\\"), "\"say \\\"hi\\\"\\\\\"");
    EXPECT_EQ(sim::jsonQuote(std::string("a\nb\tc\x01\x7f", 7)), "\"a\\nb\\tc\\u0001\\u007f\"");
    EXPECT_EQ(sim::jsonQuote("Café ♪ 🎧"), "\"Café ♪ 🎧\""); // broken sequences become U+FFFD
    EXPECT_EQ(sim::jsonQuote("\xff"), "\"\xEF\xBF\xBD\"");
    EXPECT_EQ(sim::jsonQuote("\xC3"), "\"\xEF\xBF\xBD\"");             // cut short
    EXPECT_EQ(sim::jsonQuote("\xE2\x82\x41"), "\"\xEF\xBF\xBD\x41\""); // one per broken sequence
    EXPECT_EQ(sim::jsonQuote(std::string("x\0y", 3)), "\"x\\u0000y\"");
}

TEST(Json, NumbersAreShortestExactOrNull) {
    EXPECT_EQ(sim::jsonNumber(0), "0");
    EXPECT_EQ(sim::jsonNumber(-0.0), "0");
    EXPECT_EQ(sim::jsonNumber(390), "390");
    EXPECT_EQ(sim::jsonNumber(285.9), "285.9");
    EXPECT_EQ(sim::jsonNumber(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(sim::jsonNumber(std::nan("")), "null");
    EXPECT_EQ(sim::jsonNumber(std::numeric_limits<double>::infinity()), "null");
    for (double v : {1e-300, 1e300, 123456789.125, -2.5e-7})
        EXPECT_EQ(parseJson(sim::jsonNumber(v)).number, v);
}

TEST(Json, NestedValuesKeepTheirOrder) {
    Json list = Json::array({1, "two", Json::array({3.5})});
    list.push(Json::object());
    Json root = Json::object();
    root.set("b", true).set("a", nullptr).set("list", std::move(list));
    root.set("weird \"key\"\n", Json::array());
    const char* expected = R"({"b":true,"a":null,"list":[1,"two",[3.5],{}],"weird \"key\"\n":[]})";
    EXPECT_EQ(root.dump(false), expected);
    EXPECT_EQ(nlohmann::ordered_json::parse(root.dump(true)),
              nlohmann::ordered_json::parse(expected));
}

} // namespace
