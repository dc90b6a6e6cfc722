// The old text property-list format, parsed straight into foundation values. Nesting is
// followed by recursion only up to kMaxDepth; anything deeper is skipped by a flat scan.
#include "platform/preferences/plist_file.h"

#include <cstdint>

namespace {

struct Damaged {
    const char* why;
};

bool bareCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '/' || c == ':' || c == '.' || c == '-';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

class OpenStepParser {
  public:
    explicit OpenStepParser(std::string_view s) : s_(s) {}

    prefs::Values run() {
        prefs::Values values;
        if (!skipSpace()) throw Damaged{"is empty"};
        if (peek() == '{') {
            at_++;
            entries(values, '}');
        } else {
            // Bare "key = value;" lines, as in a strings file.
            std::size_t start = at_;
            if (peek() == '"' || peek() == '\'' || bareCharacter(peek())) string();
            bool pairs = skipSpace() && peek() == '=';
            if (!pairs) throw Damaged{"holds no dictionary at its top"};
            at_ = start;
            entries(values, 0);
        }
        if (skipSpace()) throw Damaged{"has text after its dictionary"};
        return values;
    }

  private:
    char peek() const { return s_[at_]; }
    bool atEnd() const { return at_ >= s_.size(); }

    // Skips white space and comments; false at the end of the text.
    bool skipSpace() {
        while (!atEnd()) {
            char c = peek();
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                at_++;
            } else if (s_.compare(at_, 2, "//") == 0) {
                at_ = s_.find('\n', at_);
                if (at_ == std::string_view::npos) at_ = s_.size();
            } else if (s_.compare(at_, 2, "/*") == 0) {
                std::size_t end = s_.find("*/", at_ + 2);
                if (end == std::string_view::npos) throw Damaged{"is damaged (a cut comment)"};
                at_ = end + 2;
            } else {
                return true;
            }
        }
        return false;
    }

    void expect(char c, const char* why) {
        if (!skipSpace() || peek() != c) throw Damaged{why};
        at_++;
    }

    // The top-level dictionary's entries up to `close` (0: the end of the text). An entry whose
    // value passes the limits is left out.
    void entries(prefs::Values& values, char close) {
        std::size_t used = 1;
        for (;;) {
            if (!skipSpace()) {
                if (close) throw Damaged{"is damaged (a cut dictionary)"};
                return;
            }
            if (peek() == close) {
                at_++;
                return;
            }
            std::string key = string();
            expect('=', "is damaged (a key without '=')");
            std::size_t start = used + 1 < prefs::kMaxObjects ? prefs::kMaxObjects - used - 1 : 0;
            budget_ = start;
            overLimit_ = false;
            Ref<NSObject> v = value(1);
            expect(';', "is damaged (a value without ';')");
            if (overLimit_ || !v) continue;
            used += 1 + (start - budget_);
            values[key] = v;
        }
    }

    // A value; nil (with the text still consumed) once the entry it belongs to passed a limit.
    Ref<NSObject> value(int depth) {
        if (!skipSpace()) throw Damaged{"is damaged (a value is missing)"};
        if (depth > prefs::kMaxDepth) {
            overLimit_ = true;
            skipNested();
            return nullptr;
        }
        if (budget_ == 0)
            overLimit_ = true;
        else
            budget_--;
        char c = peek();
        if (c == '{') {
            at_++;
            auto dict = NSDictionary::make();
            while (skipSpace() && peek() != '}') {
                std::string key = string();
                expect('=', "is damaged (a key without '=')");
                Ref<NSObject> v = value(depth + 1);
                expect(';', "is damaged (a value without ';')");
                if (v) dict->setObject(v, key);
            }
            expect('}', "is damaged (a cut dictionary)");
            return overLimit_ ? nullptr : dict;
        }
        if (c == '(') {
            at_++;
            std::vector<Ref<NSObject>> items;
            while (skipSpace() && peek() != ')') {
                if (Ref<NSObject> v = value(depth + 1)) items.push_back(v);
                if (!skipSpace() || peek() != ',') break;
                at_++;
            }
            expect(')', "is damaged (a cut array)");
            return overLimit_ ? nullptr : NSArray::make(std::move(items));
        }
        if (c == '<') return data();
        std::string text = string();
        return overLimit_ ? nullptr : NSString::make(text);
    }

    Ref<NSObject> data() {
        at_++;
        std::vector<std::uint8_t> bytes;
        int high = -1;
        for (;;) {
            if (!skipSpace()) throw Damaged{"is damaged (cut data)"};
            char c = s_[at_++];
            if (c == '>') break;
            int d = hexDigit(c);
            if (d < 0) throw Damaged{"is damaged (data that is not hexadecimal)"};
            if (high < 0) {
                high = d;
            } else {
                bytes.push_back(std::uint8_t(high << 4 | d));
                high = -1;
            }
        }
        if (high >= 0) throw Damaged{"is damaged (data with an odd number of digits)"};
        return overLimit_ ? nullptr : NSData::make(std::move(bytes));
    }

    std::string string() {
        if (!skipSpace()) throw Damaged{"is damaged (a string is missing)"};
        std::string out;
        char quote = peek();
        if (quote != '"' && quote != '\'') {
            while (!atEnd() && bareCharacter(peek()))
                out += s_[at_++];
            if (out.empty()) throw Damaged{"is not a property list"};
            return out;
        }
        at_++;
        std::uint32_t high = 0; // a high surrogate from a \U escape, waiting for its pair
        auto flush = [&] {
            if (high) appendUtf8(out, 0xFFFD);
            high = 0;
        };
        for (;;) {
            if (atEnd()) throw Damaged{"is damaged (a cut string)"};
            char c = s_[at_++];
            if (c == quote) break;
            if (c != '\\') {
                flush();
                out += c;
                continue;
            }
            if (atEnd()) throw Damaged{"is damaged (a cut string)"};
            c = s_[at_++];
            std::uint32_t code = 0;
            if (c == 'U') {
                for (int n = 0; n < 4 && !atEnd() && hexDigit(peek()) >= 0; n++)
                    code = code << 4 | std::uint32_t(hexDigit(s_[at_++]));
            } else if (c >= '0' && c <= '7') {
                code = std::uint32_t(c - '0');
                for (int n = 1; n < 3 && !atEnd() && peek() >= '0' && peek() <= '7'; n++)
                    code = code << 3 | std::uint32_t(s_[at_++] - '0');
                code &= 0xFF;
            } else {
                static const std::string_view from = "abfnrtv", to = "\a\b\f\n\r\t\v";
                if (std::size_t i = from.find(c); i != std::string_view::npos) c = to[i];
                flush();
                out += c;
                continue;
            }
            if (code >= 0xD800 && code <= 0xDBFF) {
                flush();
                high = code;
            } else if (code >= 0xDC00 && code <= 0xDFFF) {
                appendUtf8(out,
                           high ? 0x10000 + ((high - 0xD800) << 10) + (code - 0xDC00) : 0xFFFD);
                high = 0;
            } else {
                flush();
                appendUtf8(out, code);
            }
        }
        flush();
        return out;
    }

    // Skips one value of any nesting without recursion.
    void skipNested() {
        std::string closers;
        do {
            if (!skipSpace()) throw Damaged{"is damaged (a cut value)"};
            char c = peek();
            if (c == '{' || c == '(' || c == '<') {
                closers += c == '{' ? '}' : c == '(' ? ')' : '>';
                at_++;
            } else if (!closers.empty() && c == closers.back()) {
                closers.pop_back();
                at_++;
            } else if (c == '"' || c == '\'' || bareCharacter(c)) {
                string();
            } else if (!closers.empty() && (c == '=' || c == ';' || c == ',')) {
                at_++;
            } else {
                throw Damaged{"is damaged"};
            }
        } while (!closers.empty());
    }

    std::string_view s_;
    std::size_t at_ = 0;
    std::size_t budget_ = 0;
    bool overLimit_ = false;
};

} // namespace

std::optional<prefs::Values> prefs::parseOpenStepPlist(std::string_view text,
                                                       std::string* problem) {
    try {
        return OpenStepParser(text).run();
    } catch (const Damaged& d) {
        if (problem) *problem = d.why;
        return std::nullopt;
    }
}
