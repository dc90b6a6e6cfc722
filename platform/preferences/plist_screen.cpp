// Structural screening of domain files before libplist sees them.
#include "platform/preferences/plist_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <vector>

namespace {

std::nullopt_t refuse(std::string* problem, const char* why) {
    if (problem) *problem = why;
    return std::nullopt;
}

// How a walk over one value ended: fine, past a limit (leave the entry out) or damaged (refuse
// the file).
enum class Walk { Ok, Limit, Damaged };

// ---------------------------------------------------------------------------------------------
// Binary: "bplist00", objects, an offset table, and a 32-byte trailer.

class BinaryScreen {
  public:
    explicit BinaryScreen(std::string_view b) : b_(b) {}

    std::optional<std::string> run(std::string* problem) {
        constexpr std::size_t header = 8, trailer = 32;
        if (b_.size() < header + trailer || b_.substr(0, header) != "bplist00")
            return refuse(problem, "is damaged (no binary property list trailer)");
        std::size_t t = b_.size() - trailer;
        offSize_ = byte(t + 6);
        refSize_ = byte(t + 7);
        std::uint64_t count = be(t + 8, 8), top = be(t + 16, 8), table = be(t + 24, 8);
        if (offSize_ < 1 || offSize_ > 8 || refSize_ < 1 || refSize_ > 8 || table < header ||
            table > t || count == 0 || count > (t - table) / offSize_ || top >= count)
            return refuse(problem, "is damaged (its trailer is out of bounds)");
        table_ = table;
        count_ = count;

        std::uint64_t at = offset(top), n = 0;
        if (at < header || at >= table_) return refuse(problem, "is damaged");
        if (byte(at) >> 4 != 13) return refuse(problem, "holds no dictionary at its top");
        if (!length(at, n) || !fits(at, 2 * n, refSize_))
            return refuse(problem, "is damaged (its dictionary is out of bounds)");
        if (n > prefs::kMaxObjects) return refuse(problem, "holds too many values");
        std::size_t budget = prefs::kMaxObjects - 1 - n; // the dictionary and its keys
        std::vector<std::uint64_t> kept;
        for (std::uint64_t i = 0; i < n; i++) {
            std::uint64_t key = be(at + i * refSize_, refSize_);
            if (key >= count_ || walk(key, true, budget) != Walk::Ok)
                return refuse(problem, "is damaged (a key is not a string)");
        }
        for (std::uint64_t i = 0; i < n; i++) {
            std::uint64_t value = be(at + (n + i) * refSize_, refSize_);
            Walk w = value < count_ ? walk(value, false, budget) : Walk::Damaged;
            if (w == Walk::Damaged) return refuse(problem, "is damaged");
            if (w == Walk::Ok) kept.push_back(i);
        }
        if (kept.size() == n) return std::string(b_);
        return withTopDictionary(at, n, kept);
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
    std::uint64_t offset(std::uint64_t index) const {
        return be(table_ + index * offSize_, offSize_);
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

    // Every object reachable from `index`, shared references counted each time; `budget`
    // shrinks by what a walk that stays within the limits counted.
    Walk walk(std::uint64_t index, bool mustBeString, std::size_t& budget) {
        std::vector<Pending> stack{{index, 1, mustBeString}};
        std::size_t seen = 0;
        while (!stack.empty()) {
            Pending p = stack.back();
            stack.pop_back();
            if (++seen > budget || p.depth > prefs::kMaxDepth) return Walk::Limit;
            if (Walk w = object(p, stack); w != Walk::Ok) return w;
            // Everything still pending will be visited too.
            if (seen + stack.size() > budget) return Walk::Limit;
        }
        budget -= seen;
        return Walk::Ok;
    }

    Walk object(const Pending& p, std::vector<Pending>& stack) {
        std::uint64_t at = offset(p.index);
        if (at < 8 || at >= table_) return Walk::Damaged;
        unsigned type = byte(at) >> 4, info = byte(at) & 15;
        if (p.mustBeString && type != 5 && type != 6) return Walk::Damaged;
        std::uint64_t n = 0;
        bool ok = false;
        switch (type) {
        case 0: // null, false, true, fill
            ok = info == 0 || info == 8 || info == 9 || info == 15;
            break;
        case 1: // integer of 2^info bytes
            ok = info <= 4 && fits(at + 1, 1u << info, 1);
            break;
        case 2: // real, 4 or 8 bytes
            ok = (info == 2 || info == 3) && fits(at + 1, 1u << info, 1);
            break;
        case 3: // date
            ok = info == 3 && fits(at + 1, 8, 1);
            break;
        case 4: // data
        case 5: // ASCII string
            ok = length(at, n) && fits(at, n, 1);
            break;
        case 6: // UTF-16 string
            ok = length(at, n) && fits(at, n, 2);
            break;
        case 8: // UID
            ok = fits(at + 1, info + 1, 1);
            break;
        case 10: // array
        case 12: // set
        case 13: // dictionary: keys, then values
        {
            if (!length(at, n)) return Walk::Damaged;
            std::uint64_t refs = type == 13 ? 2 * n : n;
            if (!fits(at, refs, refSize_)) return Walk::Damaged;
            if (n > prefs::kMaxObjects) return Walk::Limit;
            for (std::uint64_t i = 0; i < refs; i++) {
                std::uint64_t child = be(at + i * refSize_, refSize_);
                if (child >= count_) return Walk::Damaged;
                stack.push_back({child, p.depth + 1, type == 13 && i < n});
            }
            return Walk::Ok;
        }
        }
        return ok ? Walk::Ok : Walk::Damaged;
    }

    // The file with a new top-level dictionary of the kept entries of the one at `at`, appended
    // after the objects with a new offset table (8-byte offsets) and trailer.
    std::string withTopDictionary(std::uint64_t at, std::uint64_t n,
                                  const std::vector<std::uint64_t>& kept) const {
        auto put = [](std::string& out, std::uint64_t v, unsigned size) {
            for (unsigned i = size; i-- > 0;)
                out += static_cast<char>(v >> (8 * i));
        };
        std::string out(b_.substr(0, table_));
        std::uint64_t dictAt = out.size();
        if (kept.size() < 15) {
            out += static_cast<char>(0xD0 | kept.size());
        } else {
            out += "\xDF\x13";
            put(out, kept.size(), 8);
        }
        for (std::uint64_t half : {std::uint64_t(0), n})
            for (std::uint64_t i : kept)
                put(out, be(at + (half + i) * refSize_, refSize_), refSize_);
        std::uint64_t tableAt = out.size();
        for (std::uint64_t i = 0; i < count_; i++)
            put(out, offset(i), 8);
        put(out, dictAt, 8);
        out += std::string(6, '\0');
        out += '\x08';
        out += static_cast<char>(refSize_);
        put(out, count_ + 1, 8);
        put(out, count_, 8);
        put(out, tableAt, 8);
        return out;
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

// An element directly inside the top-level dictionary (a key or a value), with what it holds.
struct XmlEntry {
    std::size_t start = 0, end = std::string_view::npos;
    std::size_t elements = 0;
    bool tooDeep = false;
};

} // namespace

std::optional<std::string> prefs::screenBinaryPlist(std::string_view bytes, std::string* problem) {
    return BinaryScreen(bytes).run(problem);
}

std::optional<std::string> prefs::screenXmlPlist(std::string_view s, std::string* problem) {
    if (containsNoCase(s, "<!ENTITY")) return refuse(problem, "declares entities");
    constexpr std::size_t maxElements = 2 * kMaxObjects;
    int depth = 0;
    int entryDepth = 0; // the depth of the top-level dictionary's children, once it opened
    std::string firstElement;
    std::size_t outside = 0;
    std::vector<XmlEntry> entries;
    std::size_t at = 0;
    while ((at = s.find('<', at)) != std::string_view::npos) {
        if (startsWith(s, at, "<!--")) {
            at += 4;
            if (!skipPlain(s, at, "-->")) return refuse(problem, "is damaged (a comment)");
            continue;
        }
        if (startsWith(s, at, "<?")) {
            at += 2;
            if (!skipPlain(s, at, "?>")) return refuse(problem, "is damaged (an instruction)");
            continue;
        }
        std::size_t end = s.find('>', at);
        if (end == std::string_view::npos) return refuse(problem, "is damaged (a cut tag)");
        std::string_view tag = s.substr(at + 1, end - at - 1);
        if (startsWith(s, at, "<!DOCTYPE")) {
            // An external reference only: an internal subset ('[') could declare entities.
            if (tag.find_first_of("[<") != std::string_view::npos)
                return refuse(problem, "has an internal document type subset");
            at = end + 1;
            continue;
        }
        if (startsWith(s, at, "<!")) return refuse(problem, "holds CDATA or a declaration");
        if (tag.find('<') != std::string_view::npos) return refuse(problem, "is damaged");
        bool quoted = tag.find_first_of("\"'") != std::string_view::npos;
        bool closes = !tag.empty() && tag.front() == '/';
        // Counted as open unless it is unambiguously self-closing.
        bool opens = !closes && (tag.empty() || tag.back() != '/' || quoted);
        int level = closes ? depth : depth + 1; // the depth of this element
        if (closes && --depth < 0) return refuse(problem, "is damaged (a stray end tag)");
        if (opens) depth++;

        bool inEntry = entryDepth > 0 && level >= entryDepth && !entries.empty() &&
                       entries.back().end == std::string_view::npos;
        if (!closes && entryDepth > 0 && level == entryDepth && !inEntry) {
            entries.push_back({at});
            inEntry = true;
        }
        if (inEntry) {
            XmlEntry& e = entries.back();
            if (!closes) e.elements++;
            e.tooDeep = e.tooDeep || level > kMaxDepth;
            if (level == entryDepth && (closes || !opens)) e.end = end + 1;
        } else {
            if (level > kMaxDepth) return refuse(problem, "nests too deeply");
            if (!closes && ++outside > maxElements) return refuse(problem, "is too large");
            std::string_view name = tag.substr(0, tag.find_first_of(" \t\r\n/"));
            if (!closes && level == 1) firstElement = name;
            if (opens && entryDepth == 0 && name == "dict" &&
                (level == 1 || (level == 2 && firstElement == "plist")))
                entryDepth = level + 1;
        }
        at = end + 1;
    }

    // Keys and values alternate; a pair with an element past the limits is cut out whole.
    std::string out;
    std::size_t copied = 0, total = outside;
    for (std::size_t i = 0; i < entries.size(); i += 2) {
        const XmlEntry& key = entries[i];
        const XmlEntry& value = i + 1 < entries.size() ? entries[i + 1] : key;
        std::size_t elements = key.elements + (&value == &key ? 0 : value.elements);
        if (!key.tooDeep && !value.tooDeep && total + elements <= maxElements) {
            total += elements;
            continue;
        }
        if (value.end == std::string_view::npos) return refuse(problem, "nests too deeply");
        out.append(s.substr(copied, key.start - copied));
        copied = value.end;
    }
    out.append(s.substr(copied));
    return out;
}
