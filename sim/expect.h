// `expect PATH OP VALUE [within TOL]`: a statement about the dump, checked while a scenario runs.
//
// PATH names a member of the dump (`state.minimized`, `host.notificationList.alpha`), with the
// player's views also at the top (`veySongLabel.text` for `views.veySongLabel.text`) and [N]
// for an item of a list. VALUE is written as in `pref`: a bare word or a quoted string, YES and
// NO, numbers, `nil`, or a list of numbers `(a, b, c)`. A bare word is read as what the dump
// holds there, so `settings.blurRadius == 10` compares the setting's text.
#pragma once

#include "sim/json.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace sim {

struct Word {
    std::string text;
    bool quoted = false;
};

struct Expectation {
    enum class Op { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, Near };
    std::string path;                                          // as written
    std::vector<std::variant<std::string, std::size_t>> steps; // member names and list indices
    Op op = Op::Equal;
    Word value;
    std::optional<std::vector<double>> list; // the value as a list of numbers
    double tolerance = 0.01;                 // for ~
};

// Reads the words after `expect`; the problem when they do not make one ("" when they do).
std::string parseExpectation(const std::vector<Word>& words, Expectation& out);

struct ExpectOutcome {
    enum class Kind { Holds, Fails, Error } kind;
    // Fails: "expected PATH OP VALUE but was ACTUAL"; Error: why it cannot be checked (a path
    // the dump does not have, a value of another kind than the dump holds there).
    std::string message;
};

ExpectOutcome checkExpectation(const Expectation& expectation, const Json& dump);

} // namespace sim
