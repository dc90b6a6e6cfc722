#include "sim/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace sim {

Json& Json::set(std::string key, Json value) {
    if (isNull()) value_ = Object();
    if (auto* object = std::get_if<Object>(&value_))
        object->emplace_back(std::move(key), std::move(value));
    return *this;
}

Json& Json::push(Json value) {
    if (isNull()) value_ = Array();
    if (auto* array = std::get_if<Array>(&value_)) array->push_back(std::move(value));
    return *this;
}

std::string Json::dump(bool pretty) const {
    std::string out;
    write(out, 0, pretty);
    if (pretty) out += '\n';
    return out;
}

void Json::write(std::string& out, int indent, bool pretty) const {
    auto newline = [&](int level) {
        if (!pretty) return;
        out += '\n';
        out.append(std::size_t(level) * 2, ' ');
    };
    if (isNull()) {
        out += "null";
    } else if (auto* b = std::get_if<bool>(&value_)) {
        out += *b ? "true" : "false";
    } else if (auto* d = std::get_if<double>(&value_)) {
        out += jsonNumber(*d);
    } else if (auto* s = std::get_if<std::string>(&value_)) {
        out += jsonQuote(*s);
    } else if (auto* a = std::get_if<Array>(&value_)) {
        // Arrays of plain values stay on one line: frames, colours and transforms read better.
        bool flat = true;
        for (auto& item : *a)
            flat = flat && !item.isArray() && !item.isObject();
        out += '[';
        for (std::size_t i = 0; i < a->size(); i++) {
            if (i) out += flat && pretty ? ", " : ",";
            if (!flat) newline(indent + 1);
            (*a)[i].write(out, indent + 1, pretty);
        }
        if (!flat && !a->empty()) newline(indent);
        out += ']';
    } else if (auto* o = std::get_if<Object>(&value_)) {
        out += '{';
        for (std::size_t i = 0; i < o->size(); i++) {
            if (i) out += ',';
            newline(indent + 1);
            out += jsonQuote((*o)[i].first);
            out += pretty ? ": " : ":";
            (*o)[i].second.write(out, indent + 1, pretty);
        }
        if (!o->empty()) newline(indent);
        out += '}';
    }
}

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 when it is not one.
std::size_t utf8Length(std::string_view text, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char c = byte(i);
    std::size_t n = c < 0x80           ? 1
                    : (c >> 5) == 0x6  ? 2
                    : (c >> 4) == 0xE  ? 3
                    : (c >> 3) == 0x1E ? 4
                                       : 0;
    if (n == 0 || i + n > text.size()) return 0;
    for (std::size_t k = 1; k < n; k++)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    unsigned cp = n == 1 ? c : n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
    for (std::size_t k = 1; k < n; k++)
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    static constexpr unsigned minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[n] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
    return n;
}

} // namespace

std::string jsonQuote(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t n = utf8Length(text, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            i++;
            continue;
        }
        if (n > 1) {
            out.append(text.substr(i, n));
            i += n;
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
        i++;
    }
    out += '"';
    return out;
}

std::string jsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    if (value == 0) return "0"; // also for -0
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

} // namespace sim
