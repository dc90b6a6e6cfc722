// SHA-256 against published vectors, and the processor's instructions against the portable code.
#include "platform/graphics/sha256.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {
std::string hex(const Digest256& d) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (auto b : d)
        s += digits[b >> 4], s += digits[b & 15];
    return s;
}
} // namespace

TEST(Sha256, PublishedVectors) {
    EXPECT_EQ(hex(sha256("abc", 3)),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hex(sha256("", 0)),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    std::string million(1000000, 'a');
    EXPECT_EQ(hex(sha256(million.data(), million.size())),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, AcceleratedAndPortableAgreeForEveryLengthAndSplit) {
    std::mt19937 random(3);
    std::vector<std::uint8_t> data(300);
    for (auto& b : data)
        b = std::uint8_t(random());
    for (std::size_t length : {0, 1, 55, 56, 63, 64, 65, 127, 128, 200, 300})
        for (std::size_t split : {std::size_t(0), length / 3, length}) {
            Sha256 fast, slow;
            Sha256::forcePortable(false);
            fast.update(data.data(), split);
            fast.update(data.data() + split, length - split);
            Digest256 a = fast.finish();
            Sha256::forcePortable(true);
            slow.update(data.data(), length);
            Digest256 b = slow.finish();
            Sha256::forcePortable(false);
            EXPECT_EQ(a, b) << length << " split " << split;
        }
}

TEST(Sha256Tree, LanesMatchTheirDefinitionWithAndWithoutTheProcessorsInstructions) {
    std::mt19937 random(5);
    std::vector<std::uint8_t> data(5000);
    for (auto& b : data)
        b = std::uint8_t(random());
    for (std::size_t length : {0, 63, 256, 257, 1000, 5000}) {
        // By definition: blocks dealt round-robin to four lanes, then the digest of the digests.
        Sha256 lanes[4];
        for (std::size_t i = 0, l = 0; i < length; i += 64, l = (l + 1) % 4)
            lanes[l].update(data.data() + i, std::min<std::size_t>(64, length - i));
        Sha256 root;
        for (auto& lane : lanes) {
            Digest256 d = lane.finish();
            root.update(d.data(), d.size());
        }
        Digest256 expected = root.finish();
        for (bool portable : {false, true}) {
            Sha256::forcePortable(portable);
            Sha256Tree tree;
            tree.update(data.data(), length / 3);
            tree.update(data.data() + length / 3, length - length / 3);
            EXPECT_EQ(tree.finish(), expected) << length << (portable ? " portable" : "");
        }
        Sha256::forcePortable(false);
    }
}
