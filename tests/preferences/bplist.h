// Hand-made binary property lists: the shapes no well-behaved writer produces (cycles, shared
// references, absurd sizes), built object by object.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct Bplist {
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
    // An array, or a dictionary when `values` are given (keys are then `refs`).
    static std::string refs(const std::vector<std::uint64_t>& refs,
                            const std::vector<std::uint64_t>& values = {}) {
        std::string out = counted(values.empty() ? 10 : 13, refs.size());
        for (auto r : refs)
            out += be(r, 4);
        for (auto r : values)
            out += be(r, 4);
        return out;
    }

    std::uint64_t add(std::string object) {
        objects.push_back(std::move(object));
        return objects.size() - 1;
    }
    std::uint64_t next() const { return objects.size(); }

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
        out += std::string(6, '\0') + "\x04\x04";
        out += be(objects.size(), 8) + be(top, 8) + be(table, 8);
        return out;
    }

    std::vector<std::string> objects;
};

// { "style": "darkMode", "junk": <object 6, the next one added>, "after": YES }.
struct StyleWithJunk : Bplist {
    StyleWithJunk() {
        add(refs({1, 2, 4}, {3, 6, 5}));
        add(ascii("style"));
        add(ascii("junk"));
        add(ascii("darkMode"));
        add(ascii("after"));
        add("\x09");
    }
};
