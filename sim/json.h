// A small JSON value and writer for the state dump: objects keep their members in insertion
// order, numbers are written in their shortest exact form (non-finite ones as null), and text
// is escaped so the output is valid JSON for any input bytes.
#pragma once

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace sim {

class Json {
  public:
    using Array = std::vector<Json>;
    using Object = std::vector<std::pair<std::string, Json>>;

    Json() = default; // null
    Json(std::nullptr_t) {}
    Json(bool value) : value_(value) {}
    Json(int value) : value_(double(value)) {}
    Json(long value) : value_(double(value)) {}
    Json(long long value) : value_(double(value)) {}
    Json(unsigned value) : value_(double(value)) {}
    Json(unsigned long value) : value_(double(value)) {}
    Json(double value) : value_(value) {}
    Json(const char* value) : value_(std::string(value)) {}
    Json(std::string value) : value_(std::move(value)) {}
    Json(std::string_view value) : value_(std::string(value)) {}
    Json(Array value) : value_(std::move(value)) {}
    Json(Object value) : value_(std::move(value)) {}

    static Json array(std::initializer_list<Json> items = {}) { return Json(Array(items)); }
    static Json object() { return Json(Object()); }

    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }
    bool isBool() const { return std::holds_alternative<bool>(value_); }
    bool isNumber() const { return std::holds_alternative<double>(value_); }
    bool isString() const { return std::holds_alternative<std::string>(value_); }
    bool isArray() const { return std::holds_alternative<Array>(value_); }
    bool isObject() const { return std::holds_alternative<Object>(value_); }
    // The value when it is a T (bool, double, std::string, Array or Object), else nil.
    template <class T> const T* get() const { return std::get_if<T>(&value_); }

    // Adds a member to an object (a null value becomes an object first).
    Json& set(std::string key, Json value);
    // Appends to an array (a null value becomes an array first).
    Json& push(Json value);

    // Two-space indented, with a final newline when `pretty`.
    std::string dump(bool pretty = true) const;

  private:
    void write(std::string& out, int indent, bool pretty) const;
    std::variant<std::monostate, bool, double, std::string, Array, Object> value_;
};

// `text` as a JSON string literal; bytes that are not valid UTF-8 become U+FFFD.
std::string jsonQuote(std::string_view text);
// The shortest text that reads back as exactly `value` ("null" when not finite).
std::string jsonNumber(double value);

} // namespace sim
