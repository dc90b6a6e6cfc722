// The value objects: strings, numbers, data, arrays and dictionaries.
#include "platform/foundation/foundation.h"

#include <cmath>
#include <cstdio>
#include <cstring>

VEY_CLASS_IMPL(NSString, NSObject::cls(), [](Class) {})
VEY_CLASS_IMPL(NSNumber, NSObject::cls(), [](Class) {})
VEY_CLASS_IMPL(NSData, NSObject::cls(), [](Class) {})
VEY_CLASS_IMPL(NSArray, NSObject::cls(), [](Class) {})
VEY_CLASS_IMPL(NSDictionary, NSObject::cls(), [](Class) {})

Ref<NSString> NSString::make(std::string_view text) {
    auto s = alloc<NSString>();
    s->text_ = std::string(text);
    return s;
}

bool NSString::isEqual(const NSObject* other) const {
    auto* o = dynamic_cast<const NSString*>(other);
    return o && o->text_ == text_;
}

Ref<NSNumber> NSNumber::withBool(bool v) {
    auto n = alloc<NSNumber>();
    n->kind_ = Kind::Bool;
    n->integer_ = v ? 1 : 0;
    return n;
}

Ref<NSNumber> NSNumber::withInteger(std::int64_t v) {
    auto n = alloc<NSNumber>();
    n->integer_ = v;
    return n;
}

Ref<NSNumber> NSNumber::withDouble(double v) {
    auto n = alloc<NSNumber>();
    n->kind_ = Kind::Double;
    n->real_ = v;
    return n;
}

std::int64_t NSNumber::integerValue() const {
    if (kind_ != Kind::Double) return integer_;
    if (std::isnan(real_)) return 0;
    if (real_ >= 9.2e18) return INT64_MAX;
    if (real_ <= -9.2e18) return INT64_MIN;
    return static_cast<std::int64_t>(real_);
}

std::string NSNumber::description() const {
    if (kind_ != Kind::Double) return std::to_string(integer_);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", real_);
    // Shortest text that reads back the same value.
    for (int p = 1; p <= 17; p++) {
        char shorter[64];
        std::snprintf(shorter, sizeof shorter, "%.*g", p, real_);
        if (std::strtod(shorter, nullptr) == real_) return shorter;
    }
    return buf;
}

bool NSNumber::isEqual(const NSObject* other) const {
    auto* o = dynamic_cast<const NSNumber*>(other);
    return o && o->doubleValue() == doubleValue();
}

Ref<NSData> NSData::make(std::vector<std::uint8_t> bytes) {
    auto d = alloc<NSData>();
    d->bytes_ = std::move(bytes);
    return d;
}

Ref<NSData> NSData::make(const void* bytes, std::size_t length) {
    auto* p = static_cast<const std::uint8_t*>(bytes);
    return make(std::vector<std::uint8_t>(p, p + length));
}

bool NSData::isEqual(const NSObject* other) const {
    auto* o = dynamic_cast<const NSData*>(other);
    return o && o->bytes_ == bytes_;
}

std::string NSData::base64EncodedStringWithOptions(std::uint64_t options) const {
    static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string raw;
    raw.reserve((bytes_.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes_.size(); i += 3) {
        std::uint32_t v = bytes_[i] << 16 | bytes_[i + 1] << 8 | bytes_[i + 2];
        raw += table[v >> 18];
        raw += table[(v >> 12) & 63];
        raw += table[(v >> 6) & 63];
        raw += table[v & 63];
    }
    if (i < bytes_.size()) {
        std::uint32_t v = bytes_[i] << 16 | (i + 1 < bytes_.size() ? bytes_[i + 1] << 8 : 0);
        raw += table[v >> 18];
        raw += table[(v >> 12) & 63];
        raw += i + 1 < bytes_.size() ? table[(v >> 6) & 63] : '=';
        raw += '=';
    }
    if (!(options & 1)) return raw;
    std::string out;
    out.reserve(raw.size() + raw.size() / 64 * 2);
    for (std::size_t at = 0; at < raw.size(); at += 64) {
        if (at) out += "\r\n";
        out.append(raw, at, 64);
    }
    return out;
}

Ref<NSArray> NSArray::make(std::vector<Ref<NSObject>> items) {
    auto a = alloc<NSArray>();
    a->items_ = std::move(items);
    return a;
}

Ref<NSDictionary> NSDictionary::make() {
    return alloc<NSDictionary>();
}

void NSDictionary::setObject(id value, std::string_view key) {
    for (auto& [k, v] : entries_)
        if (k == key) {
            v = value;
            return;
        }
    entries_.emplace_back(std::string(key), value);
}

NSObject* NSDictionary::objectForKey(std::string_view key) const {
    for (auto& [k, v] : entries_)
        if (k == key) return v;
    return nullptr;
}
