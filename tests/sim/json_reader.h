// A strict JSON reader for checking the dumps: anything RFC 8259 does not allow (trailing
// commas, bad escapes, control characters in strings, leading zeros, trailing text) throws.
#pragma once

#include <cstdlib>
#include <nlohmann/json.hpp>
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
        try {
            return convert(nlohmann::ordered_json::parse(text));
        } catch (const nlohmann::json::exception& e) {
            throw std::runtime_error(std::string("bad JSON: ") + e.what());
        }
    }

  private:
    static JsonValue convert(const nlohmann::ordered_json& j) {
        JsonValue v;
        if (j.is_boolean()) {
            v.type = JsonValue::Type::Bool;
            v.boolean = j.get<bool>();
        } else if (j.is_number()) {
            v.type = JsonValue::Type::Number;
            v.number = j.get<double>();
        } else if (j.is_string()) {
            v.type = JsonValue::Type::String;
            v.string = j.get<std::string>();
        } else if (j.is_array()) {
            v.type = JsonValue::Type::Array;
            for (auto& item : j)
                v.items.push_back(convert(item));
        } else if (j.is_object()) {
            v.type = JsonValue::Type::Object;
            for (auto& [key, value] : j.items())
                v.members.emplace_back(key, convert(value));
        }
        return v;
    }
};
