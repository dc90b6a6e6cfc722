#include "sim/json.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

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

// The layout is the dump's own: nlohmann's printer would put every number of a frame on a line.
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

std::string jsonQuote(std::string_view text) {
    std::string out = nlohmann::json(std::string(text))
                          .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    // DEL is escaped too, so that the dump shows no control character as it is.
    for (std::size_t at = out.find('\x7f'); at != std::string::npos; at = out.find('\x7f', at))
        out.replace(at, 1, "\\u007f");
    return out;
}

// std::to_chars rather than nlohmann, which writes whole doubles as "390.0".
std::string jsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    if (value == 0) return "0"; // also for -0
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

} // namespace sim
