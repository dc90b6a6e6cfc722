#include "platform/foundation/foundation.h"

VEY_CLASS_IMPL(NSCache, NSObject::cls(), [](Class) {})

Ref<NSCache> NSCache::make() {
    return alloc<NSCache>();
}

void NSCache::setCountLimit(std::size_t limit) {
    limit_ = limit;
    trim();
}

NSObject* NSCache::objectForKey(id key) {
    if (!key) return nullptr;
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, it->second);
    return it->second->value;
}

void NSCache::setObject(id value, id key) {
    if (!key) return;
    auto it = index_.find(key);
    if (it != index_.end()) {
        entries_.erase(it->second);
        index_.erase(it);
    }
    if (!value) return;
    entries_.push_front(Entry{key, value});
    index_.emplace(entries_.front().key.get(), entries_.begin());
    trim();
}

void NSCache::removeAllObjects() {
    index_.clear();
    entries_.clear();
}

void NSCache::trim() {
    while (limit_ && entries_.size() > limit_) {
        index_.erase(entries_.back().key.get());
        entries_.pop_back();
    }
}
