#include "sim/expect.h"

#include <charconv>
#include <cmath>

namespace sim {

namespace {

std::optional<double> number(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string trim(std::string_view text) {
    std::size_t a = text.find_first_not_of(' '), b = text.find_last_not_of(' ');
    return a == std::string_view::npos ? "" : std::string(text.substr(a, b - a + 1));
}

bool isName(std::string_view text) {
    if (text.empty() || (text[0] >= '0' && text[0] <= '9')) return false;
    for (char c : text)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_'))
            return false;
    return true;
}

// "veyView.frame[2]": names joined by dots, each with any number of [N].
bool parsePath(const std::string& text, Expectation& out) {
    if (text.empty() || text.size() > 200) return false;
    std::size_t i = 0;
    while (i <= text.size()) {
        std::size_t end = text.find_first_of(".[", i);
        std::string name = text.substr(i, end == std::string::npos ? end : end - i);
        if (!isName(name)) return false;
        out.steps.emplace_back(name);
        i = end == std::string::npos ? text.size() : end;
        while (i < text.size() && text[i] == '[') {
            std::size_t close = text.find(']', i);
            std::string digits =
                close == std::string::npos ? "" : text.substr(i + 1, close - i - 1);
            std::size_t index = 0;
            auto r = std::from_chars(digits.data(), digits.data() + digits.size(), index);
            if (digits.empty() || digits.size() > 9 || r.ptr != digits.data() + digits.size())
                return false;
            out.steps.emplace_back(index);
            i = close + 1;
        }
        if (i == text.size()) return true;
        if (text[i] != '.') return false;
        i++;
    }
    return false;
}

// "(a, b, c)" as numbers; "()" is the empty list.
std::optional<std::vector<double>> parseList(const std::string& text) {
    if (text.size() < 2 || text.front() != '(' || text.back() != ')') return std::nullopt;
    std::vector<double> items;
    std::string inner = trim(std::string_view(text).substr(1, text.size() - 2));
    if (inner.empty()) return items;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = inner.find(',', start);
        auto item = number(trim(std::string_view(inner).substr(
            start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (!item) return std::nullopt;
        items.push_back(*item);
        if (comma == std::string::npos) return items;
        start = comma + 1;
    }
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c == 0x7F) {
            static const char* hex = "0123456789abcdef";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

std::string numberText(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    return jsonNumber(value);
}

// A dump value as a scenario would write it.
std::string shown(const Json& value) {
    if (auto* b = value.get<bool>()) return *b ? "YES" : "NO";
    if (auto* d = value.get<double>()) return numberText(*d);
    if (auto* s = value.get<std::string>()) return quoted(*s);
    if (auto* items = value.get<Json::Array>()) {
        std::string out = "(";
        for (std::size_t i = 0; i < items->size(); i++)
            out += (i ? ", " : "") + shown((*items)[i]);
        return out + ")";
    }
    if (value.isObject()) return value.dump(false);
    return "nil";
}

std::string kindOf(const Json& value) {
    return value.isBool()     ? "YES or NO"
           : value.isNumber() ? "a number"
           : value.isString() ? "text"
           : value.isArray()  ? "a list"
           : value.isObject() ? "an object"
                              : "nil";
}

std::string memberNames(const Json::Object& object) {
    std::string out;
    for (auto& [name, value] : object)
        out += (out.empty() ? "" : ", ") + name;
    return out;
}

const Json* member(const Json& object, const std::string& name) {
    if (auto* members = object.get<Json::Object>())
        for (auto& [key, value] : *members)
            if (key == name) return &value;
    return nullptr;
}

struct Found {
    const Json* value = nullptr; // nil when the path ends in nothing
    std::string note;            // why it is nil, when a step on the way was
    std::string error;
};

Found resolve(const Expectation& e, const Json& dump) {
    Found found;
    const Json* at = &dump;
    std::string path;
    for (std::size_t i = 0; i < e.steps.size(); i++) {
        if (at->isNull()) {
            found.note = path + " is nil";
            return found;
        }
        if (auto* index = std::get_if<std::size_t>(&e.steps[i])) {
            auto* items = at->get<Json::Array>();
            if (!items) {
                found.error = path + " is " + kindOf(*at) + ", not a list";
                return found;
            }
            if (*index >= items->size()) {
                found.note = path + " has " + std::to_string(items->size()) + " items";
                return found;
            }
            at = &(*items)[*index];
            path += "[" + std::to_string(*index) + "]";
            continue;
        }
        const std::string& name = std::get<std::string>(e.steps[i]);
        const Json* views = member(dump, "views");
        const Json* next = member(*at, name);
        if (i == 0 && !next && views) next = member(*views, name);
        if (!next) {
            if (i == 0) {
                auto* top = dump.get<Json::Object>();
                auto* viewList = views ? views->get<Json::Object>() : nullptr;
                found.error = "the dump has no '" + name + "' (" + (top ? memberNames(*top) : "") +
                              (viewList && !viewList->empty()
                                   ? ", or one of the player's views: " + memberNames(*viewList)
                                   : "; the player's views only while the plug-in is installed "
                                     "and enabled") +
                              ")";
            } else if (auto* members = at->get<Json::Object>()) {
                found.error =
                    path + " has no member '" + name + "' (" + memberNames(*members) + ")";
            } else {
                found.error = path + " is " + kindOf(*at) + ", it has no members";
            }
            return found;
        }
        at = next;
        path += (path.empty() ? "" : ".") + name;
    }
    found.value = at->isNull() ? nullptr : at;
    return found;
}

std::vector<double> numbersOf(const Json::Array& items, bool* allNumbers) {
    std::vector<double> out;
    *allNumbers = true;
    for (auto& item : items) {
        if (auto* d = item.get<double>())
            out.push_back(*d);
        else
            *allNumbers = false;
    }
    return out;
}

const char* opText(Expectation::Op op) {
    using Op = Expectation::Op;
    switch (op) {
    case Op::Equal:
        return "==";
    case Op::NotEqual:
        return "!=";
    case Op::Less:
        return "<";
    case Op::LessOrEqual:
        return "<=";
    case Op::Greater:
        return ">";
    case Op::GreaterOrEqual:
        return ">=";
    case Op::Near:
        return "~";
    }
    return "?";
}

} // namespace

std::string parseExpectation(const std::vector<Word>& words, Expectation& out) {
    using Op = Expectation::Op;
    const char* usage = "expected PATH OP VALUE [within TOL], e.g. expect veySongLabel.text == "
                        "\"Title\"";
    if (words.size() < 3) return usage;
    out.path = words[0].text;
    if (words[0].quoted || !parsePath(out.path, out))
        return "'" + out.path +
               "' is not a path (names joined by dots, [N] for an item of a list, e.g. "
               "veyView.frame[2])";
    const std::pair<const char*, Op> ops[] = {
        {"==", Op::Equal},  {"!=", Op::NotEqual},       {"<", Op::Less}, {"<=", Op::LessOrEqual},
        {">", Op::Greater}, {">=", Op::GreaterOrEqual}, {"~", Op::Near}};
    bool known = false;
    for (auto& [text, op] : ops)
        if (!words[1].quoted && words[1].text == text) out.op = op, known = true;
    if (!known) return "unknown comparison '" + words[1].text + "' (==, !=, <, <=, >, >= or ~)";

    std::size_t end = words.size();
    if (end >= 5 && !words[end - 2].quoted && words[end - 2].text == "within") {
        if (out.op != Op::Near) return "within goes with ~ only";
        auto tolerance = number(words[end - 1].text);
        if (!tolerance || *tolerance < 0)
            return "within needs a number of at least 0, got '" + words[end - 1].text + "'";
        out.tolerance = *tolerance;
        end -= 2;
    }
    out.value = words[2];
    if (!out.value.quoted && out.value.text.starts_with("(")) {
        for (std::size_t i = 3; i < end; i++) {
            if (words[i].quoted) return "a list holds numbers only";
            out.value.text += " " + words[i].text;
        }
        out.list = parseList(out.value.text);
        if (!out.list)
            return "'" + out.value.text + "' is not a list of numbers, e.g. (0, 12.5, 390, 44)";
    } else if (end > 3) {
        return "expected one value after " + words[1].text +
               " (put text with spaces in quotes), then optionally within TOL";
    }
    bool isNumber = !out.value.quoted && number(out.value.text);
    if (out.op == Op::Near && !isNumber && !out.list)
        return "~ compares numbers or lists of numbers, not '" + out.value.text + "'";
    if (out.op != Op::Equal && out.op != Op::NotEqual && out.op != Op::Near && !isNumber)
        return std::string(opText(out.op)) + " compares numbers, not '" + out.value.text + "'";
    return "";
}

ExpectOutcome checkExpectation(const Expectation& e, const Json& dump) {
    using Op = Expectation::Op;
    using Kind = ExpectOutcome::Kind;
    Found found = resolve(e, dump);
    if (!found.error.empty()) return {Kind::Error, found.error};
    const Word& v = e.value;
    const std::string written = v.quoted ? quoted(v.text) : v.text;
    auto wrongKind = [&](const Json& actual) {
        return ExpectOutcome{Kind::Error, e.path + " is " + kindOf(actual) + ", not " + written};
    };
    auto notNumbers = [&](const Json& actual) {
        return ExpectOutcome{Kind::Error, std::string(opText(e.op)) + " compares numbers, and " +
                                              e.path + " is " + kindOf(actual)};
    };
    auto outcome = [&](bool holds) {
        if (holds) return ExpectOutcome{Kind::Holds, ""};
        std::string message = "expected " + e.path + " " + opText(e.op) + " " + written;
        if (e.op == Op::Near) message += " within " + numberText(e.tolerance);
        message += " but was " + (found.value ? shown(*found.value) : "nil");
        if (!found.note.empty()) message += " (" + found.note + ")";
        return ExpectOutcome{Kind::Fails, message};
    };
    const Json* actual = found.value;
    const bool nilValue = !v.quoted && v.text == "nil";
    // A plain double: GCC cannot follow an optional through the branches below.
    const std::optional<double> parsed = v.quoted ? std::nullopt : number(v.text);
    const bool isNumber = parsed.has_value();
    const double value = parsed.value_or(0);

    if (e.op == Op::Equal || e.op == Op::NotEqual) {
        bool equal = false;
        if (nilValue || !actual) {
            equal = nilValue && !actual;
        } else if (auto* b = actual->get<bool>()) {
            if (v.quoted || (v.text != "YES" && v.text != "NO")) return wrongKind(*actual);
            equal = *b == (v.text == "YES");
        } else if (auto* d = actual->get<double>()) {
            if (!isNumber) return wrongKind(*actual);
            equal = *d == value;
        } else if (auto* s = actual->get<std::string>()) {
            if (e.list) return wrongKind(*actual);
            equal = *s == v.text;
        } else if (auto* items = actual->get<Json::Array>()) {
            if (!e.list) return wrongKind(*actual);
            bool allNumbers = true;
            std::vector<double> numbers = numbersOf(*items, &allNumbers);
            if (!allNumbers && !e.list->empty())
                return {Kind::Error, e.path + " holds more than numbers; compare its items, " +
                                         e.path + "[0] and on"};
            equal = allNumbers && numbers == *e.list;
        } else {
            auto* members = actual->get<Json::Object>();
            return {Kind::Error, e.path + " is an object; compare one of its members (" +
                                     memberNames(*members) + ")"};
        }
        return outcome(equal == (e.op == Op::Equal));
    }
    if (!actual) return outcome(false);
    if (e.op == Op::Near) {
        auto near = [&](double a, double b) { return std::fabs(a - b) <= e.tolerance; };
        if (auto* d = actual->get<double>()) {
            if (!isNumber) return wrongKind(*actual);
            return outcome(near(*d, value));
        }
        auto* items = actual->get<Json::Array>();
        if (!items) return notNumbers(*actual);
        if (!e.list) return wrongKind(*actual);
        bool allNumbers = true;
        std::vector<double> numbers = numbersOf(*items, &allNumbers);
        if (!allNumbers) return {Kind::Error, e.path + " holds more than numbers"};
        bool holds = numbers.size() == e.list->size();
        for (std::size_t i = 0; holds && i < numbers.size(); i++)
            holds = near(numbers[i], (*e.list)[i]);
        return outcome(holds);
    }
    auto* d = actual->get<double>();
    if (!d) return notNumbers(*actual);
    switch (e.op) {
    case Op::Less:
        return outcome(*d < value);
    case Op::LessOrEqual:
        return outcome(*d <= value);
    case Op::Greater:
        return outcome(*d > value);
    default:
        return outcome(*d >= value);
    }
}

} // namespace sim
