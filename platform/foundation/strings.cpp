// Reading numbers from text the way the platform's string accessors do, UTF-16 length and
// "%@"-style formatting.
#include "platform/foundation/foundation.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Skips leading white space; returns the position of the first other character.
std::size_t skipSpace(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && isSpace(t[i]))
        i++;
    return i;
}

double readDouble(std::string_view text) {
    // strtod over a bounded, NUL-terminated copy of the numeric prefix: it stops at the first
    // character that does not belong to a number and gives 0 for none. Hex, inf and nan are
    // not numbers to the platform, so only sign, digits, one point and an exponent pass.
    std::size_t i = skipSpace(text);
    std::string prefix;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) prefix += text[i++];
    bool digits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        prefix += text[i++], digits = true;
    if (i < text.size() && text[i] == '.') {
        prefix += text[i++];
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            prefix += text[i++], digits = true;
    }
    if (!digits) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        bool expDigits = false;
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])) &&
               exponent.size() < 12)
            exponent += text[j++], expDigits = true;
        if (expDigits) prefix += exponent;
    }
    double v = std::strtod(prefix.c_str(), nullptr);
    // Overflow clamps to the largest finite value, as the platform's reading does.
    if (std::isinf(v))
        return v > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    return v;
}

} // namespace

int NSStringIntValue(std::string_view text) {
    std::size_t i = skipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    bool clamped = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); i++) {
        if (clamped) continue;
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) clamped = true;
    }
    if (negative) {
        if (clamped || -value < std::numeric_limits<int>::min())
            return std::numeric_limits<int>::min();
        return static_cast<int>(-value);
    }
    if (clamped || value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

float NSStringFloatValue(std::string_view text) {
    double v = readDouble(text);
    constexpr double maxFloat = std::numeric_limits<float>::max();
    if (v > maxFloat) return std::numeric_limits<float>::max();
    if (v < -maxFloat) return -std::numeric_limits<float>::max();
    return static_cast<float>(v);
}

bool NSStringBoolValue(std::string_view text) {
    // YES for a leading Y, y, T or t, or a number that is not zero (after white space and
    // optional sign and leading zeros).
    std::size_t i = skipSpace(text);
    if (i >= text.size()) return false;
    char c = text[i];
    if (c == 'Y' || c == 'y' || c == 'T' || c == 't') return true;
    if (c == '+' || c == '-') i++;
    while (i < text.size() && text[i] == '0')
        i++;
    return i < text.size() && text[i] >= '1' && text[i] <= '9';
}

std::size_t NSStringUTF16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        std::size_t len = b < 0x80         ? 1
                          : (b >> 5) == 6  ? 2
                          : (b >> 4) == 14 ? 3
                          : (b >> 3) == 30 ? 4
                                           : 1;
        units += len == 4 ? 2 : 1;
        i += len;
    }
    return units;
}

std::string NSStringFormat(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    auto next = args.begin();
    auto take = [&]() -> const FormatArg* { return next == args.end() ? nullptr : &*next++; };
    for (std::size_t i = 0; i < format.size(); i++) {
        char c = format[i];
        if (c != '%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        // %[.precision][l|ll]conversion
        std::size_t j = i + 1;
        std::string pattern = "%";
        if (format[j] == '.') {
            pattern += format[j++];
            while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j])))
                pattern += format[j++];
        }
        while (j < format.size() && format[j] == 'l')
            j++;
        if (j >= format.size()) break;
        char conv = format[j];
        i = j;
        if (conv == '%') {
            out += '%';
            continue;
        }
        const FormatArg* a = take();
        char buf[512];
        switch (conv) {
        case '@': {
            const NSObject* o = a && std::holds_alternative<const NSObject*>(*a)
                                    ? std::get<const NSObject*>(*a)
                                    : nullptr;
            out += o ? o->description() : "(null)";
            break;
        }
        case 'f': {
            double v = !a                                      ? 0
                       : std::holds_alternative<double>(*a)    ? std::get<double>(*a)
                       : std::holds_alternative<long long>(*a) ? double(std::get<long long>(*a))
                                                               : 0;
            std::snprintf(buf, sizeof buf, (pattern + "f").c_str(), v);
            out += buf;
            break;
        }
        case 'd':
        case 'i': {
            long long v = !a                                      ? 0
                          : std::holds_alternative<long long>(*a) ? std::get<long long>(*a)
                          : std::holds_alternative<double>(*a)
                              ? static_cast<long long>(std::get<double>(*a))
                              : 0;
            out += std::to_string(v);
            break;
        }
        case 's': {
            const char* s =
                a && std::holds_alternative<const char*>(*a) ? std::get<const char*>(*a) : nullptr;
            out += s ? s : "(null)";
            break;
        }
        default:
            out += pattern + conv;
        }
    }
    return out;
}

Ref<NSString> stringWithFormat(std::string_view format, std::initializer_list<FormatArg> args) {
    return NSString::make(NSStringFormat(format, args));
}
