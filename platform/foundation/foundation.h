// Foundation stand-ins: strings and their number reading, numbers, data, arrays, dictionaries,
// a count-limited cache, and the main queue with its virtual clock.
#pragma once

#include "platform/runtime/runtime.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Number reading, as the platform's intValue / floatValue / boolValue read a string: leading
// white space, an optional sign, digits; reading stops at the first other character; text that
// is not a number reads 0; values out of range clamp.
int NSStringIntValue(std::string_view text);
float NSStringFloatValue(std::string_view text);
bool NSStringBoolValue(std::string_view text);
// Length in UTF-16 code units (characters outside the basic plane count two).
std::size_t NSStringUTF16Length(std::string_view utf8);

// ---------------------------------------------------------------------------------------------
// Objects

class NSString : public NSObject {
    VEY_CLASS(NSString)
  public:
    static Ref<NSString> make(std::string_view text);
    const std::string& str() const { return text_; }
    int intValue() const { return NSStringIntValue(text_); }
    float floatValue() const { return NSStringFloatValue(text_); }
    bool boolValue() const { return NSStringBoolValue(text_); }
    std::size_t length() const { return NSStringUTF16Length(text_); }

    bool isEqual(const NSObject* other) const override;
    std::size_t hash() const override { return std::hash<std::string>{}(text_); }
    std::string description() const override { return text_; }

  private:
    std::string text_;
};

class NSNumber : public NSObject {
    VEY_CLASS(NSNumber)
  public:
    static Ref<NSNumber> withBool(bool v);
    static Ref<NSNumber> withInteger(std::int64_t v);
    static Ref<NSNumber> withDouble(double v);
    bool isBool() const { return kind_ == Kind::Bool; }
    bool boolValue() const { return kind_ == Kind::Double ? real_ != 0 : integer_ != 0; }
    std::int64_t integerValue() const;
    double doubleValue() const { return kind_ == Kind::Double ? real_ : double(integer_); }
    // A number's text as the platform's description gives it ("1", "0", "2.5").
    std::string description() const override;
    bool isEqual(const NSObject* other) const override;

  private:
    enum class Kind { Bool, Integer, Double } kind_ = Kind::Integer;
    std::int64_t integer_ = 0;
    double real_ = 0;
};

class NSData : public NSObject {
    VEY_CLASS(NSData)
  public:
    static Ref<NSData> make(std::vector<std::uint8_t> bytes);
    static Ref<NSData> make(const void* bytes, std::size_t length);
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::size_t length() const { return bytes_.size(); }
    // Options 1: lines of 64 characters separated by CR LF. 0: one line.
    std::string base64EncodedStringWithOptions(std::uint64_t options) const;
    bool isEqual(const NSObject* other) const override;

  private:
    std::vector<std::uint8_t> bytes_;
};

class NSArray : public NSObject {
    VEY_CLASS(NSArray)
  public:
    static Ref<NSArray> make(std::vector<Ref<NSObject>> items);
    std::size_t count() const { return items_.size(); }
    // Nil past the end (the platform would raise; nothing here relies on that).
    NSObject* objectAtIndex(std::size_t i) const { return i < items_.size() ? items_[i] : nullptr; }
    const std::vector<Ref<NSObject>>& items() const { return items_; }

  private:
    std::vector<Ref<NSObject>> items_;
};

class NSDictionary : public NSObject {
    VEY_CLASS(NSDictionary)
  public:
    static Ref<NSDictionary> make();
    void setObject(id value, std::string_view key);
    NSObject* objectForKey(std::string_view key) const;

  private:
    std::vector<std::pair<std::string, Ref<NSObject>>> entries_;
};

// A cache keyed by object value (isEqual/hash), evicting the least recently used entry past
// its count limit (0 = no limit).
class NSCache : public NSObject {
    VEY_CLASS(NSCache)
  public:
    static Ref<NSCache> make();
    void setCountLimit(std::size_t limit);
    std::size_t countLimit() const { return limit_; }
    NSObject* objectForKey(id key);
    void setObject(id value, id key);
    void removeAllObjects();
    std::size_t count() const { return entries_.size(); }

  private:
    struct Entry {
        Ref<NSObject> key, value;
    };
    struct KeyHash {
        std::size_t operator()(const NSObject* k) const { return k->hash(); }
    };
    struct KeyEq {
        bool operator()(const NSObject* a, const NSObject* b) const { return a->isEqual(b); }
    };
    void trim();
    std::size_t limit_ = 0;
    std::list<Entry> entries_; // most recently used first
    std::unordered_map<const NSObject*, std::list<Entry>::iterator, KeyHash, KeyEq> index_;
};

// ---------------------------------------------------------------------------------------------
// "%@"-style formatting: %@ (an object's description, "(null)" for nil), %f, %d, %i, %ld,
// %lld, %s, %%, with optional precision for %f (%.2f).
using FormatArg = std::variant<const NSObject*, double, long long, const char*>;
std::string NSStringFormat(std::string_view format, std::initializer_list<FormatArg> args);
Ref<NSString> stringWithFormat(std::string_view format, std::initializer_list<FormatArg> args);

// ---------------------------------------------------------------------------------------------
// The main queue and its virtual clock. Nothing sleeps: time moves only when the clock is run.

using dispatch_time_t = std::int64_t; // nanoseconds on the virtual clock
constexpr dispatch_time_t DISPATCH_TIME_NOW = -1;
constexpr std::int64_t NSEC_PER_SEC = 1000000000;
constexpr std::int64_t NSEC_PER_MSEC = 1000000;

class MainQueue {
  public:
    static MainQueue& shared();

    std::int64_t nowNanos() const { return now_; }
    double now() const { return double(now_) / NSEC_PER_SEC; }

    // Runs `block` at `when` (absolute virtual nanoseconds); equal times run in scheduling order.
    void schedule(std::int64_t when, std::function<void()> block);
    void async(std::function<void()> block) { schedule(now_, std::move(block)); }

    // Runs everything due up to now + seconds, then sets the clock there.
    void runFor(double seconds);
    void runUntil(std::int64_t when);
    // Runs what is due now (including what that schedules for now) without moving the clock.
    void runPending() { runUntil(now_); }
    // Time of the next task, or -1 when none is scheduled (the live window sleeps until then).
    std::int64_t nextDue() const;

    // Host work run at the end of every turn (one task), e.g. layout passes.
    void addTurnObserver(std::function<void()> observer);
    // Runs the end-of-turn work now (the host calls this after work it does outside a task).
    void endTurn();

    // Back to time 0 with nothing scheduled and no observers (tests).
    void reset();

  private:
    struct Task {
        std::int64_t when;
        std::uint64_t order;
        std::function<void()> block;
    };
    std::int64_t now_ = 0;
    std::uint64_t nextOrder_ = 0;
    std::vector<Task> tasks_; // a heap on (when, order)
    std::vector<std::function<void()>> observers_;
    bool inTurnEnd_ = false;
};

struct dispatch_queue_s;
using dispatch_queue_t = dispatch_queue_s*;
dispatch_queue_t dispatch_get_main_queue();
dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t deltaNanos);
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, std::function<void()> block);
void dispatch_async(dispatch_queue_t queue, std::function<void()> block);
// Seconds as nanoseconds, rounded to the nearest nanosecond.
std::int64_t secondsToNanos(double seconds);

// ---------------------------------------------------------------------------------------------
// The device: the folder that stands for the phone's file system root (settings domains and
// installed plug-ins live under it). Empty until the host is given one.
void NSSetDeviceRoot(std::string path);
const std::string& NSDeviceRoot();

// Darwin-style notifications by name: observers run synchronously when the name is posted.
// Returns a token for removal.
int notify_register(std::string name, std::function<void()> handler);
void notify_cancel(int token);
void notify_post(std::string_view name);
