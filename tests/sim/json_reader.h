// Dumps read back strictly: trailing commas, bad escapes, control characters in strings,
// leading zeros and trailing text all throw.
#pragma once

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

struct JsonValue {
    nlohmann::ordered_json raw;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<JsonValue> items;

    explicit JsonValue(const nlohmann::ordered_json& j = nullptr) : raw(j) {
        if (j.is_boolean()) boolean = j.get<bool>();
        if (j.is_number()) number = j.get<double>();
        if (j.is_string()) string = j.get<std::string>();
        if (j.is_array())
            for (auto& item : j)
                items.emplace_back(item);
    }
    JsonValue operator[](const std::string& key) const { return JsonValue(raw.at(key)); }
    const JsonValue& operator[](std::size_t i) const { return items.at(i); }
    bool isNull() const { return raw.is_null(); }
};

inline JsonValue parseJson(const std::string& text) {
    return JsonValue(nlohmann::ordered_json::parse(text));
}
inline JsonValue readJsonFile(const std::string& path) {
    std::ifstream in(path);
    return parseJson(std::string(std::istreambuf_iterator<char>(in), {}));
}
