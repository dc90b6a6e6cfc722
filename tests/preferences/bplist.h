// Hand-made binary property lists: the shapes no well-behaved writer produces (cycles, shared
// references, absurd sizes), built object by object.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct Bplist {
    static constexpr unsigned kRef = 4;

    static std::string be(std::uint64_t v, unsigned n) {
        std::string out(n, '\0');
        for (unsigned i = 0; i < n; i++)
            out[n - 1 - i] = static_cast<char>(v >> (8 * i));
        return out;
    }
    // A marker with a count: inline when small, else followed by an 8-byte integer.
    static std::string counted(unsigned type, std::uint64_t n) {
        if (n < 15) return std::string(1, static_cast<char>(type << 4 | n));
        return std::string(1, static_cast<char>(type << 4 | 15)) + "\x13" + be(n, 8);
    }
    static std::string ascii(std::string_view s) { return counted(5, s.size()) + std::string(s); }
    static std::string array(const std::vector<std::uint64_t>& refs) {
        std::string out = counted(10, refs.size());
        for (auto r : refs)
            out += be(r, kRef);
        return out;
    }
    static std::string dict(const std::vector<std::uint64_t>& keys,
                            const std::vector<std::uint64_t>& values) {
        std::string out = counted(13, keys.size());
        for (auto r : keys)
            out += be(r, kRef);
        for (auto r : values)
            out += be(r, kRef);
        return out;
    }

    std::uint64_t add(std::string object) {
        objects.push_back(std::move(object));
        return objects.size() - 1;
    }

    std::string build(std::uint64_t top = 0) const {
        std::string out = "bplist00";
        std::vector<std::uint64_t> offsets;
        for (auto& o : objects) {
            offsets.push_back(out.size());
            out += o;
        }
        std::uint64_t table = out.size();
        for (auto o : offsets)
            out += be(o, 4);
        out += std::string(6, '\0') + '\x04' + static_cast<char>(kRef);
        out += be(objects.size(), 8) + be(top, 8) + be(table, 8);
        return out;
    }

    std::vector<std::string> objects;
};

// { "style": "darkMode", "junk": <object `junk`> }: the store reads "darkMode" only when the
// whole file is accepted. Objects 0-3 are the dictionary, its keys and "darkMode".
struct StyleWithJunk : Bplist {
    StyleWithJunk() {
        add(dict({1, 2}, {3, 4}));
        add(ascii("style"));
        add(ascii("junk"));
        add(ascii("darkMode"));
    }
};
