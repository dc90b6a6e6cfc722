#include "platform/foundation/foundation.h"

#include <climits>
#include <gtest/gtest.h>

TEST(NumberReading, IntValueReadsLikeThePlatform) {
    EXPECT_EQ(NSStringIntValue("250"), 250);
    EXPECT_EQ(NSStringIntValue("  \t-12abc"), -12);
    EXPECT_EQ(NSStringIntValue("+7"), 7);
    EXPECT_EQ(NSStringIntValue("abc"), 0);
    EXPECT_EQ(NSStringIntValue(""), 0);
    EXPECT_EQ(NSStringIntValue("- 5"), 0);
    EXPECT_EQ(NSStringIntValue("13.9"), 13);
    EXPECT_EQ(NSStringIntValue("99999999999999999999"), INT_MAX);
    EXPECT_EQ(NSStringIntValue("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(NSStringIntValue("2147483648"), INT_MAX);
    EXPECT_EQ(NSStringIntValue("-2147483648"), INT_MIN);
}

TEST(NumberReading, FloatValueStopsAtTheFirstOtherCharacter) {
    EXPECT_FLOAT_EQ(NSStringFloatValue("13"), 13.0f);
    EXPECT_FLOAT_EQ(NSStringFloatValue(" 2.5px"), 2.5f);
    EXPECT_FLOAT_EQ(NSStringFloatValue("-.5"), -0.5f);
    EXPECT_FLOAT_EQ(NSStringFloatValue("1e2"), 100.0f);
    EXPECT_FLOAT_EQ(NSStringFloatValue("1e"), 1.0f);
    EXPECT_FLOAT_EQ(NSStringFloatValue("abc"), 0.0f);
    EXPECT_FLOAT_EQ(NSStringFloatValue("0x10"), 0.0f);
    EXPECT_FLOAT_EQ(NSStringFloatValue("inf"), 0.0f);
    EXPECT_FLOAT_EQ(NSStringFloatValue("1e999"), FLT_MAX);
    EXPECT_FLOAT_EQ(NSStringFloatValue("-1e999"), -FLT_MAX);
}

TEST(NumberReading, BoolValue) {
    for (const char* yes : {"YES", "yes", "true", "T", "1", " 12", "+3", "007"})
        EXPECT_TRUE(NSStringBoolValue(yes)) << yes;
    for (const char* no : {"NO", "false", "0", "", "abc", "-0", "000"})
        EXPECT_FALSE(NSStringBoolValue(no)) << no;
}

TEST(Strings, LengthCountsUTF16Units) {
    EXPECT_EQ(NSStringUTF16Length("Song "), 5u);
    EXPECT_EQ(NSStringUTF16Length("é"), 1u);
    EXPECT_EQ(NSStringUTF16Length("日本"), 2u);
    EXPECT_EQ(NSStringUTF16Length("🎵"), 2u);
}

TEST(Strings, FormatWithObjectsAndNumbers) {
    Ref<NSString> title = NSString::make("Song");
    EXPECT_EQ(NSStringFormat("%@ ", {title.get()}), "Song ");
    EXPECT_EQ(NSStringFormat("%@", {static_cast<const NSObject*>(nullptr)}), "(null)");
    EXPECT_EQ(NSStringFormat("%f_%f_%@", {250.0, 10.5, title.get()}), "250.000000_10.500000_Song");
    EXPECT_EQ(NSStringFormat("%d%% of %ld", {50LL, 7LL}), "50% of 7");
    EXPECT_EQ(NSStringFormat("%@", {NSNumber::withDouble(2.5).get()}), "2.5");
    EXPECT_EQ(NSStringFormat("%@", {NSNumber::withInteger(-3).get()}), "-3");
}

TEST(Data, Base64WithLineLengthOption) {
    std::vector<std::uint8_t> bytes(100);
    for (int i = 0; i < 100; i++)
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    Ref<NSData> data = NSData::make(bytes);
    std::string plain = data->base64EncodedStringWithOptions(0);
    EXPECT_EQ(plain.size(), 136u);
    EXPECT_EQ(plain.substr(132), "tQ=="); // 99 * 7 % 256 = 0xB5
    std::string lines = data->base64EncodedStringWithOptions(1);
    EXPECT_EQ(lines,
              plain.substr(0, 64) + "\r\n" + plain.substr(64, 64) + "\r\n" + plain.substr(128));
    EXPECT_EQ(NSData::make("M", 1)->base64EncodedStringWithOptions(1), "TQ==");
    EXPECT_EQ(NSData::make("Ma", 2)->base64EncodedStringWithOptions(1), "TWE=");
}

TEST(Cache, CountLimitEvictsTheLeastRecentlyUsed) {
    Ref<NSCache> cache = NSCache::make();
    cache->setCountLimit(2);
    auto key = [](const char* s) { return NSString::make(s); };
    Ref<NSString> a = NSString::make("A"), b = NSString::make("B");
    cache->setObject(a, key("a"));
    cache->setObject(b, key("b"));
    EXPECT_EQ(cache->objectForKey(key("a")), a.get()); // equal keys find the entry; a is now recent
    cache->setObject(NSString::make("C"), key("c"));
    EXPECT_EQ(cache->objectForKey(key("b")), nullptr);
    EXPECT_EQ(cache->objectForKey(key("a")), a.get());
    EXPECT_EQ(cache->count(), 2u);
    cache->setObject(nullptr, key("a"));
    EXPECT_EQ(cache->objectForKey(key("a")), nullptr);
}
