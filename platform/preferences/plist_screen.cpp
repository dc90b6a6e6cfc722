// Structural screening of domain files before libplist sees them.
#include "platform/preferences/plist_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Binary: "bplist00", objects, an offset table, and a 32-byte trailer.

class BinaryScreen {
  public:
    explicit BinaryScreen(std::string_view b) : b_(b) {}

    bool run() {
        constexpr std::size_t header = 8, trailer = 32;
        if (b_.size() < header + trailer || b_.substr(0, header) != "bplist00") return false;
        std::size_t t = b_.size() - trailer;
        offSize_ = byte(t + 6);
        refSize_ = byte(t + 7);
        std::uint64_t count = be(t + 8, 8), top = be(t + 16, 8), table = be(t + 24, 8);
        if (offSize_ < 1 || offSize_ > 8 || refSize_ < 1 || refSize_ > 8) return false;
        if (table < header || table > t || count == 0 || count > (t - table) / offSize_)
            return false;
        if (top >= count) return false;
        table_ = table;
        count_ = count;
        return walk(top);
    }

  private:
    struct Pending {
        std::uint64_t index;
        int depth;
        bool mustBeString;
    };

    unsigned byte(std::size_t at) const { return static_cast<unsigned char>(b_[at]); }
    std::uint64_t be(std::size_t at, unsigned n) const {
        std::uint64_t v = 0;
        for (unsigned i = 0; i < n; i++)
            v = v << 8 | byte(at + i);
        return v;
    }
    // Whether `n` items of `unit` bytes fit between `at` and the offset table.
    bool fits(std::uint64_t at, std::uint64_t n, std::uint64_t unit) const {
        return at <= table_ && n <= (table_ - at) / unit;
    }

    // Reads the length of a sized object; `at` moves past the marker (and extended length).
    bool length(std::uint64_t& at, std::uint64_t& n) const {
        unsigned info = byte(at) & 15;
        at++;
        if (info != 15) {
            n = info;
            return true;
        }
        if (!fits(at, 1, 1)) return false;
        unsigned marker = byte(at);
        unsigned size = 1u << (marker & 15);
        if ((marker >> 4) != 1 || size > 8 || !fits(at + 1, size, 1)) return false;
        n = be(at + 1, size);
        at += 1 + size;
        return true;
    }

    bool walk(std::uint64_t top) {
        std::vector<Pending> stack{{top, 0, false}};
        std::size_t seen = 0;
        while (!stack.empty()) {
            Pending p = stack.back();
            stack.pop_back();
            if (++seen > prefs::kMaxObjects || p.depth > prefs::kMaxDepth) return false;
            if (!object(p, stack)) return false;
            // Everything still pending will be visited too.
            if (seen + stack.size() > prefs::kMaxObjects) return false;
        }
        return true;
    }

    bool object(const Pending& p, std::vector<Pending>& stack) {
        std::uint64_t at = be(table_ + p.index * offSize_, offSize_);
        if (at < 8 || at >= table_) return false;
        unsigned type = byte(at) >> 4, info = byte(at) & 15;
        if (p.mustBeString && type != 5 && type != 6) return false;
        std::uint64_t n = 0;
        switch (type) {
        case 0: // null, false, true, fill
            return info == 0 || info == 8 || info == 9 || info == 15;
        case 1: // integer of 2^info bytes
            return info <= 4 && fits(at + 1, 1u << info, 1);
        case 2: // real, 4 or 8 bytes
            return (info == 2 || info == 3) && fits(at + 1, 1u << info, 1);
        case 3: // date
            return info == 3 && fits(at + 1, 8, 1);
        case 4: // data
        case 5: // ASCII string
            return length(at, n) && fits(at, n, 1);
        case 6: // UTF-16 string
            return length(at, n) && fits(at, n, 2);
        case 8: // UID
            return fits(at + 1, info + 1, 1);
        case 10: // array
        case 12: // set
        case 13: // dictionary: keys, then values
        {
            if (!length(at, n)) return false;
            std::uint64_t refs = type == 13 ? 2 * n : n;
            if (n > prefs::kMaxObjects || !fits(at, refs, refSize_)) return false;
            for (std::uint64_t i = 0; i < refs; i++) {
                std::uint64_t child = be(at + i * refSize_, refSize_);
                if (child >= count_) return false;
                stack.push_back({child, p.depth + 1, type == 13 && i < n});
            }
            return true;
        }
        default:
            return false;
        }
    }

    std::string_view b_;
    unsigned offSize_ = 0, refSize_ = 0;
    std::uint64_t table_ = 0, count_ = 0;
};

// ---------------------------------------------------------------------------------------------
// XML. Only the tag structure matters here: every '<' must start a tag whose nesting we can
// count exactly, whatever the parser makes of comments and quoting.

bool startsWith(std::string_view s, std::size_t at, std::string_view prefix) {
    return s.compare(at, prefix.size(), prefix) == 0;
}

bool containsNoCase(std::string_view s, std::string_view needle) {
    auto it = std::search(s.begin(), s.end(), needle.begin(), needle.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
    return it != s.end();
}

// Skips a construct from `at` to the end of `close`; false when it is unterminated or holds
// markup of its own.
bool skipPlain(std::string_view s, std::size_t& at, std::string_view close) {
    std::size_t end = s.find(close, at);
    if (end == std::string_view::npos) return false;
    if (s.substr(at, end - at).find('<') != std::string_view::npos) return false;
    at = end + close.size();
    return true;
}

} // namespace

bool prefs::binaryPlistIsSafe(std::string_view bytes) {
    return BinaryScreen(bytes).run();
}

bool prefs::xmlPlistIsSafe(std::string_view s) {
    if (containsNoCase(s, "<!ENTITY")) return false;
    int depth = 0;
    std::size_t elements = 0;
    std::size_t at = 0;
    while ((at = s.find('<', at)) != std::string_view::npos) {
        if (startsWith(s, at, "<!--")) {
            at += 4;
            if (!skipPlain(s, at, "-->")) return false;
        } else if (startsWith(s, at, "<?")) {
            at += 2;
            if (!skipPlain(s, at, "?>")) return false;
        } else if (startsWith(s, at, "<!DOCTYPE")) {
            // An external reference only: an internal subset ('[') could declare entities.
            std::size_t end = s.find('>', at);
            if (end == std::string_view::npos) return false;
            std::string_view decl = s.substr(at + 1, end - at - 1);
            if (decl.find_first_of("[<") != std::string_view::npos) return false;
            at = end + 1;
        } else if (startsWith(s, at, "<!")) {
            return false; // CDATA, declarations: never in a settings file
        } else {
            std::size_t end = s.find('>', at);
            if (end == std::string_view::npos) return false;
            std::string_view tag = s.substr(at + 1, end - at - 1);
            if (tag.find('<') != std::string_view::npos) return false;
            bool quoted = tag.find_first_of("\"'") != std::string_view::npos;
            if (!tag.empty() && tag.front() == '/') {
                if (--depth < 0) return false; // a stray close could hide later opens
            } else if (tag.empty() || tag.back() != '/' || quoted) {
                // Counted as open unless it is unambiguously self-closing.
                if (++depth > kMaxDepth) return false;
                if (++elements > 2 * kMaxObjects) return false;
            } else if (++elements > 2 * kMaxObjects) {
                return false;
            }
            at = end + 1;
        }
    }
    return true;
}
