// Reading a domain file without trusting it: the size is bounded and the bytes are screened
// before libplist parses them, because libplist follows nesting and shared references without
// limit (deep files overflow the stack, shared references expand exponentially).
#pragma once

#include "platform/foundation/foundation.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace prefs {

// A settings domain holds a few dozen values; anything far beyond that is not one.
constexpr std::size_t kMaxFileBytes = 1 << 20;
constexpr int kMaxDepth = 32;
constexpr std::size_t kMaxObjects = 4096;

using Values = std::map<std::string, Ref<NSObject>, std::less<>>;

// Bytes libplist may parse, or nullopt with the reason in *problem when the file is damaged or
// hostile as a whole. A value of the top-level dictionary that nests deeper than kMaxDepth, or
// that would take the file past kMaxObjects (shared references counted each time they are
// reached), is left out with its key: one odd entry must not cost every other setting.
//
// Binary: the trailer, offsets and references are all in bounds and dictionary keys are strings.
std::optional<std::string> screenBinaryPlist(std::string_view bytes, std::string* problem);
// XML: no entity declarations or internal DTD subset, no markup inside comments or processing
// instructions, no CDATA; at most 2 * kMaxObjects elements.
std::optional<std::string> screenXmlPlist(std::string_view bytes, std::string* problem);

// The old text format ({ key = value; }, ( a, b ), <0a1b>, quoted or bare strings, comments),
// as values; the same limits and the same leaving out of over-deep or oversized entries. Bare
// "key = value;" lines without braces read as a dictionary too.
std::optional<Values> parseOpenStepPlist(std::string_view text, std::string* problem);

struct DomainRead {
    enum class Status {
        Missing, // no file: a domain with no stored values
        Good,
        Damaged, // there is a file, but it cannot be used; `problem` says why
    };
    Status status = Status::Missing;
    Values values;
    std::string problem;
};

// The top-level dictionary of the file at `path` (binary, XML with or without a byte-order
// mark, or the old text format).
DomainRead readDomain(const std::string& path);
// The same, empty unless the read was good.
Values readDomainFile(const std::string& path);

} // namespace prefs
