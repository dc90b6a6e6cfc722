// A strict JSON reader for checking the dumps: rejects anything RFC 8259 does not allow
// (trailing commas, bad escapes, control characters in strings, leading zeros, trailing text).
#pragma once

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    bool has(const std::string& key) const {
        for (auto& m : members)
            if (m.first == key) return true;
        return false;
    }
    const JsonValue& operator[](const std::string& key) const {
        for (auto& m : members)
            if (m.first == key) return m.second;
        throw std::runtime_error("no member " + key);
    }
    const JsonValue& operator[](std::size_t i) const { return items.at(i); }
    bool isNull() const { return type == Type::Null; }
};

class JsonReader {
  public:
    static JsonValue parse(const std::string& text) {
        JsonReader r(text);
        JsonValue v = r.value();
        r.space();
        if (r.i_ != text.size()) r.fail("trailing text");
        return v;
    }

  private:
    explicit JsonReader(const std::string& text) : t_(text) {}
    [[noreturn]] void fail(const char* what) const {
        throw std::runtime_error(std::string("bad JSON at ") + std::to_string(i_) + ": " + what);
    }
    void space() {
        while (i_ < t_.size() &&
               (t_[i_] == ' ' || t_[i_] == '\n' || t_[i_] == '\t' || t_[i_] == '\r'))
            i_++;
    }
    bool take(const char* word) {
        std::string w(word);
        if (t_.compare(i_, w.size(), w) != 0) return false;
        i_ += w.size();
        return true;
    }
    JsonValue value() {
        space();
        if (i_ >= t_.size()) fail("unexpected end");
        JsonValue v;
        char c = t_[i_];
        if (take("null")) return v;
        if (take("true") || take("false")) {
            v.type = JsonValue::Type::Bool;
            v.boolean = c == 't';
            return v;
        }
        if (c == '"') {
            v.type = JsonValue::Type::String;
            v.string = str();
            return v;
        }
        if (c == '[') {
            v.type = JsonValue::Type::Array;
            i_++;
            space();
            if (i_ < t_.size() && t_[i_] == ']') return i_++, v;
            for (;;) {
                v.items.push_back(value());
                space();
                if (i_ < t_.size() && t_[i_] == ',') {
                    i_++;
                    continue;
                }
                if (i_ < t_.size() && t_[i_] == ']') return i_++, v;
                fail("expected , or ]");
            }
        }
        if (c == '{') {
            v.type = JsonValue::Type::Object;
            i_++;
            space();
            if (i_ < t_.size() && t_[i_] == '}') return i_++, v;
            for (;;) {
                space();
                if (i_ >= t_.size() || t_[i_] != '"') fail("expected a key");
                std::string key = str();
                space();
                if (i_ >= t_.size() || t_[i_] != ':') fail("expected :");
                i_++;
                v.members.emplace_back(key, value());
                space();
                if (i_ < t_.size() && t_[i_] == ',') {
                    i_++;
                    continue;
                }
                if (i_ < t_.size() && t_[i_] == '}') return i_++, v;
                fail("expected , or }");
            }
        }
        return number();
    }
    std::string str() {
        i_++; // opening quote
        std::string out;
        while (i_ < t_.size() && t_[i_] != '"') {
            unsigned char c = static_cast<unsigned char>(t_[i_]);
            if (c < 0x20) fail("control character in a string");
            if (c != '\\') {
                out += char(c);
                i_++;
                continue;
            }
            if (++i_ >= t_.size()) fail("unterminated escape");
            char e = t_[i_++];
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                if (i_ + 4 > t_.size()) fail("short \\u escape");
                unsigned cp = std::stoul(t_.substr(i_, 4), nullptr, 16);
                i_ += 4;
                if (cp >= 0x80) fail("the writer escapes only control characters");
                out += char(cp);
                break;
            }
            default:
                fail("bad escape");
            }
        }
        if (i_ >= t_.size()) fail("unterminated string");
        i_++;
        return out;
    }
    JsonValue number() {
        std::size_t start = i_;
        if (i_ < t_.size() && t_[i_] == '-') i_++;
        if (i_ >= t_.size() || !isdigit(t_[i_])) fail("expected a value");
        if (t_[i_] == '0' && i_ + 1 < t_.size() && isdigit(t_[i_ + 1])) fail("leading zero");
        while (i_ < t_.size() && (isdigit(t_[i_]) || t_[i_] == '.' || t_[i_] == 'e' ||
                                  t_[i_] == 'E' || t_[i_] == '+' || t_[i_] == '-'))
            i_++;
        JsonValue v;
        v.type = JsonValue::Type::Number;
        std::string text = t_.substr(start, i_ - start);
        char* end = nullptr;
        v.number = std::strtod(text.c_str(), &end);
        if (end != text.c_str() + text.size()) fail("bad number");
        return v;
    }
    static bool isdigit(char c) { return c >= '0' && c <= '9'; }

    const std::string& t_;
    std::size_t i_ = 0;
};
