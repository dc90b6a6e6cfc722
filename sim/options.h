// Reading `--name VALUE` and `--name=VALUE` on vey-sim's command lines.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sim {

// The value of the option `name` standing at words[i] (`i` moves past a separate value); the
// problem ("--out needs a folder") when there is none or it is empty.
inline std::string takeOptionValue(const std::vector<std::string>& words, std::size_t& i,
                                   const std::string& name, std::string& value,
                                   const char* what = "a value") {
    if (words[i] == name) {
        if (i + 1 >= words.size()) return name + " needs " + what;
        value = words[++i];
    } else {
        value = words[i].substr(name.size() + 1);
    }
    return value.empty() ? name + " needs " + what : std::string();
}

} // namespace sim
