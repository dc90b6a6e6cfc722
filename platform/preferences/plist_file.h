// Reading a domain file without trusting it: the size is bounded and the bytes are screened
// before libplist parses them, because libplist follows nesting and shared references without
// limit (deep files overflow the stack, shared references expand exponentially).
#pragma once

#include "platform/foundation/foundation.h"

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace prefs {

// A settings domain holds a few dozen values; anything far beyond that is not one.
constexpr std::size_t kMaxFileBytes = 1 << 20;
constexpr int kMaxDepth = 32;
constexpr std::size_t kMaxObjects = 4096;

using Values = std::map<std::string, Ref<NSObject>, std::less<>>;

// A binary property list whose trailer, offsets and references are all in bounds, whose
// dictionary keys are strings, and whose object tree (shared references counted each time
// they are reached) is at most kMaxDepth deep and kMaxObjects large.
bool binaryPlistIsSafe(std::string_view bytes);

// XML with no entity declarations or internal DTD subset, no markup inside comments or
// processing instructions, elements at most kMaxDepth deep and at most 2 * kMaxObjects of them.
bool xmlPlistIsSafe(std::string_view bytes);

// The top-level dictionary of the file at `path`; empty when the file is missing, too large,
// not a regular file, hostile, unparsable or not a dictionary.
Values readDomainFile(const std::string& path);

} // namespace prefs
