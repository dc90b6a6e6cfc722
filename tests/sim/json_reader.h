// A strict JSON reader for checking the dumps: anything RFC 8259 does not allow (trailing
// commas, bad escapes, control characters in strings, leading zeros, trailing text) throws.
#pragma once

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

    const JsonValue* find(const std::string& key) const {
        for (auto& m : members)
            if (m.first == key) return &m.second;
        return nullptr;
    }
    bool has(const std::string& key) const { return find(key); }
    const JsonValue& operator[](const std::string& key) const {
        if (const JsonValue* v = find(key)) return *v;
        throw std::runtime_error("no member " + key);
    }
    const JsonValue& operator[](std::size_t i) const { return items.at(i); }
    bool isNull() const { return type == Type::Null; }

    explicit JsonValue(const nlohmann::ordered_json& j = nullptr) {
        using T = Type;
        type = j.is_boolean()  ? T::Bool
               : j.is_number() ? T::Number
               : j.is_string() ? T::String
               : j.is_array()  ? T::Array
               : j.is_object() ? T::Object
                               : T::Null;
        if (type == T::Bool) boolean = j.get<bool>();
        if (type == T::Number) number = j.get<double>();
        if (type == T::String) string = j.get<std::string>();
        if (type == T::Array)
            for (auto& item : j)
                items.emplace_back(item);
        if (type == T::Object)
            for (auto& [key, value] : j.items())
                members.emplace_back(key, JsonValue(value));
    }
};

struct JsonReader {
    static JsonValue parse(const std::string& text) {
        try {
            return JsonValue(nlohmann::ordered_json::parse(text));
        } catch (const nlohmann::json::exception& e) {
            throw std::runtime_error(std::string("bad JSON: ") + e.what());
        }
    }
};
