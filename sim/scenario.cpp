// Reading scenarios: tokens, commands and their arguments, checked before anything runs.
#include "sim/scenario.h"

#include "platform/preferences/preferences.h"
#include "sim/render/render.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace sim {

ScenarioError::ScenarioError(std::string file, int line, std::string problem)
    : std::runtime_error(line > 0 ? file + ":" + std::to_string(line) + ": " + problem
                                  : file + ": " + problem),
      file_(std::move(file)), line_(line), problem_(std::move(problem)) {}

namespace {

// A token as messages show it: printable ASCII as it is, other bytes as \xNN, long ones cut.
std::string shown(const std::string& text, std::size_t limit = 40) {
    std::string out;
    for (unsigned char c : text) {
        if (out.size() >= limit) return out + "...";
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            static const char* hex = "0123456789abcdef";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

struct Token {
    std::string text;
    bool quoted = false;
};

class LineParser {
  public:
    LineParser(const std::string& file, int line, const std::string& directory)
        : file_(file), line_(line), directory_(directory) {}

    [[noreturn]] void fail(const std::string& problem) const {
        throw ScenarioError(file_, line_, problem);
    }

    std::vector<Token> tokenize(std::string_view text) const {
        std::vector<Token> tokens;
        std::size_t i = 0;
        auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
        while (i < text.size()) {
            if (space(text[i])) {
                i++;
                continue;
            }
            if (text[i] == '#') break;
            Token token;
            if (text[i] == '"') {
                token.quoted = true;
                i++;
                bool closed = false;
                while (i < text.size()) {
                    char c = text[i++];
                    if (c == '"') {
                        closed = true;
                        break;
                    }
                    if (c == '\\') {
                        if (i >= text.size()) break;
                        char e = text[i++];
                        if (e != '"' && e != '\\')
                            fail("unknown escape \\" + shown(std::string(1, e)) +
                                 " in a string (only \\\" and \\\\ are allowed)");
                        token.text += e;
                    } else {
                        token.text += c;
                    }
                }
                if (!closed) fail("unterminated string");
                if (i < text.size() && !space(text[i]) && text[i] != '#')
                    fail("expected a space after a quoted string");
            } else {
                while (i < text.size() && !space(text[i]) && text[i] != '#') {
                    if (text[i] == '"') fail("unexpected quote inside a word");
                    token.text += text[i++];
                }
            }
            tokens.push_back(std::move(token));
        }
        return tokens;
    }

    std::optional<double> number(const std::string& text) const {
        double value = 0;
        const char* end = text.data() + text.size();
        auto result = std::from_chars(text.data(), end, value);
        if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
            return std::nullopt;
        return value;
    }

    std::string inputFile(const std::string& name, const char* what) const {
        if (name.empty()) fail(std::string(what) + " file name is empty");
        fs::path path(name);
        if (path.is_relative()) path = fs::path(directory_) / path;
        std::error_code error;
        if (!fs::exists(path, error)) fail(std::string(what) + " file not found: " + name);
        if (!fs::is_regular_file(path, error))
            fail(std::string(what) + " file is not a regular file: " + name);
        return path.lexically_normal().string();
    }

    // A file beside the scenario, which need not exist yet.
    std::string relativeFile(const std::string& name) const {
        return (fs::path(directory_) / name).lexically_normal().string();
    }

    std::string outputFile(const std::string& name, const char* command) const {
        fs::path path(name);
        bool bad = name.empty() || path.is_absolute() || name.back() == '/';
        for (auto& part : path)
            bad = bad || part == "..";
        if (bad)
            fail(std::string(command) +
                 ": the output file must be a relative path inside the output folder");
        fs::path normal = path.lexically_normal();
        // The simulated phone's files are the run's input, never its output.
        if (*normal.begin() == "device")
            fail(std::string(command) + ": the output file may not be inside the device folder");
        return normal.string();
    }

  private:
    const std::string& file_;
    int line_;
    const std::string& directory_;
};

std::optional<std::string> trackField(const Token& token) {
    if (!token.quoted && token.text == "-") return std::nullopt;
    return token.text;
}

void parseDevice(const LineParser& p, const std::vector<Token>& args, DeviceSpec& device) {
    if (args.empty()) p.fail("device: expected WxH, e.g. device 390x844");
    const std::string& size = args[0].text;
    std::size_t x = size.find('x');
    auto w = x == std::string::npos ? std::nullopt : p.number(size.substr(0, x));
    auto h = x == std::string::npos ? std::nullopt : p.number(size.substr(x + 1));
    if (!w || !h || *w != std::floor(*w) || *h != std::floor(*h) || *w < 1 || *h < 1 || *w > 4096 ||
        *h > 4096)
        p.fail("device: size must be WxH in whole points from 1 to 4096, got '" + shown(size) +
               "'");
    device.width = *w;
    device.height = *h;
    bool seen[3] = {false, false, false};
    for (std::size_t i = 1; i < args.size(); i += 2) {
        const std::string& option = args[i].text;
        int which = option == "scale" ? 0 : option == "version" ? 1 : option == "name" ? 2 : -1;
        if (which < 0 || args[i].quoted)
            p.fail("device: unknown option '" + shown(option) + "' (scale, version or name)");
        if (seen[which]) p.fail("device: " + option + " given twice");
        seen[which] = true;
        if (i + 1 >= args.size()) p.fail("device: " + option + " needs a value");
        const std::string& value = args[i + 1].text;
        if (which == 0) {
            auto s = p.number(value);
            if (!s || *s < 1 || *s > 4) p.fail("device: scale must be a number from 1 to 4");
            device.scale = *s;
        } else if (which == 1) {
            bool ok = !value.empty() && value.size() <= 32 && value.front() != '.' &&
                      value.back() != '.' && value.find("..") == std::string::npos;
            for (char c : value)
                ok = ok && ((c >= '0' && c <= '9') || c == '.');
            if (!ok) p.fail("device: version must look like 16.4, got '" + shown(value) + "'");
            device.version = value;
        } else {
            if (value.empty() || value.size() > 200)
                p.fail("device: name must have 1 to 200 characters");
            device.name = value;
        }
    }
    if (!screenSizeRenderable(device.width, device.height, device.scale)) {
        std::ostringstream pixels;
        pixels << "device: " << device.width << "x" << device.height << " at scale " << device.scale
               << " is " << std::ceil(device.width * device.scale) << " x "
               << std::ceil(device.height * device.scale)
               << " pixels, more than a snapshot can hold (16384 a side, 100 megapixels)";
        p.fail(pixels.str());
    }
}

// match NAME.png [tolerance P%] [per-pixel D]
void parseMatch(const LineParser& p, const std::vector<Token>& args, Command& c) {
    if (args.empty() || args.size() % 2 == 0)
        p.fail("match: expected a golden image and options: match NAME.png [tolerance P%] "
               "[per-pixel D]");
    const std::string& name = args[0].text;
    if (!name.ends_with(".png") || name.size() == 4)
        p.fail("match: the golden image must be a .png file, got '" + shown(name) + "'");
    c.path = p.outputFile(name, "match");
    c.goldenPath = p.relativeFile(c.path);
    bool seen[2] = {false, false};
    for (std::size_t i = 1; i < args.size(); i += 2) {
        const std::string& option = args[i].text;
        int which = option == "tolerance" ? 0 : option == "per-pixel" ? 1 : -1;
        if (which < 0 || args[i].quoted)
            p.fail("match: unknown option '" + shown(option) + "' (tolerance or per-pixel)");
        if (seen[which]) p.fail("match: " + option + " given twice");
        seen[which] = true;
        std::string value = args[i + 1].text;
        if (which == 0) {
            if (value.ends_with("%")) value.pop_back();
            auto percent = p.number(value);
            if (!percent || *percent < 0 || *percent > 100)
                p.fail("match: tolerance must be a share of pixels from 0% to 100%, got '" +
                       shown(args[i + 1].text) + "'");
            c.tolerancePercent = *percent;
        } else {
            auto steps = p.number(value);
            if (!steps || *steps < 0 || *steps > 255 || *steps != std::floor(*steps))
                p.fail("match: per-pixel must be a whole number of steps from 0 to 255, got '" +
                       shown(value) + "'");
            c.perPixel = int(*steps);
        }
    }
}

bool isIdentifier(const std::string& text) {
    if (text.empty() || text.size() > 100) return false;
    for (std::size_t i = 0; i < text.size(); i++) {
        char c = text[i];
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    return true;
}

} // namespace

Scenario parseScenario(const std::string& text, const std::string& file,
                       const std::string& directory, bool launched) {
    Scenario scenario;
    scenario.file = file;
    std::istringstream lines(text);
    std::string raw;
    int number = 0;
    long filmFrames = 0;
    while (std::getline(lines, raw)) {
        number++;
        LineParser p(file, number, directory);
        std::vector<Token> tokens = p.tokenize(raw);
        if (tokens.empty()) continue;
        const std::string name = tokens[0].quoted ? "\"" + tokens[0].text + "\"" : tokens[0].text;
        std::vector<Token> args(tokens.begin() + 1, tokens.end());
        Command c;
        c.line = number;
        auto arity = [&](std::size_t least, std::size_t most, const char* usage) {
            if (args.size() < least || args.size() > most) p.fail(name + ": expected " + usage);
        };
        auto needsLaunch = [&] {
            if (!launched) p.fail(name + ": SpringBoard has not launched yet (use launch first)");
        };
        if (name == "device") {
            c.kind = Command::Kind::Device;
            if (launched) p.fail("device: only allowed before launch");
            parseDevice(p, args, c.device);
        } else if (name == "pref") {
            c.kind = Command::Kind::Pref;
            arity(2, 2, "a key and a value, e.g. pref Enabled YES");
            if (args[0].text.empty()) p.fail("pref: the key is empty");
            c.key = args[0].text;
            c.value = args[1].text;
            if (std::string why = HBPreferencesTextProblem(c.key); !why.empty())
                p.fail("pref: the key " + why);
            if (std::string why = HBPreferencesTextProblem(c.value); !why.empty())
                p.fail("pref: the value " + why);
            if (!args[1].quoted && (c.value == "YES" || c.value == "NO"))
                c.boolValue = c.value == "YES";
        } else if (name == "prefs") {
            c.kind = Command::Kind::Prefs;
            arity(1, 1, "a property-list file");
            c.path = p.inputFile(args[0].text, "settings");
        } else if (name == "launch") {
            c.kind = Command::Kind::Launch;
            arity(0, 0, "no arguments");
            if (launched) p.fail("launch: SpringBoard has already launched");
            launched = true;
        } else if (name == "play" || name == "queue") {
            c.kind = name == "play" ? Command::Kind::Play : Command::Kind::Queue;
            arity(2, 3, "a title and an artist (- for none), then optionally an artwork file");
            c.track.title = trackField(args[0]);
            c.track.artist = trackField(args[1]);
            if (args.size() == 3) c.track.artworkPath = p.inputFile(args[2].text, "artwork");
        } else if (name == "stop" || name == "pause" || name == "resume" || name == "theme" ||
                   name == "layout") {
            c.kind = name == "stop"     ? Command::Kind::Stop
                     : name == "pause"  ? Command::Kind::Pause
                     : name == "resume" ? Command::Kind::Resume
                     : name == "theme"  ? Command::Kind::Theme
                                        : Command::Kind::Layout;
            arity(0, 0, "no arguments");
            if (c.kind == Command::Kind::Theme || c.kind == Command::Kind::Layout) needsLaunch();
        } else if (name == "tap") {
            c.kind = Command::Kind::Tap;
            arity(1, 1, "the name of a player view, e.g. tap veySkipButton");
            if (!isIdentifier(args[0].text))
                p.fail("tap: '" + shown(args[0].text) + "' is not a name");
            c.property = args[0].text;
            needsLaunch();
        } else if (name == "swipe") {
            c.kind = Command::Kind::Swipe;
            arity(1, 1, "a direction: swipe down");
            if (args[0].text != "down")
                p.fail("swipe: only 'down' is supported, got '" + shown(args[0].text) + "'");
            needsLaunch();
        } else if (name == "route") {
            c.kind = Command::Kind::Route;
            arity(1, 1, "speaker, headphones, airpods, airpods-pro, airpods-max or airpods-gen3");
            if (!MPRouteKindFromString(args[0].text, &c.route))
                p.fail("route: unknown route '" + shown(args[0].text) +
                       "' (speaker, headphones, airpods, airpods-pro, airpods-max, "
                       "airpods-gen3)");
        } else if (name == "wait") {
            c.kind = Command::Kind::Wait;
            arity(1, 1, "a number of seconds");
            auto seconds = p.number(args[0].text);
            if (!seconds || *seconds < 0)
                p.fail("wait: '" + shown(args[0].text) + "' is not a number of seconds");
            if (*seconds > kMaxWaitSeconds) p.fail("wait: at most 3600 seconds at a time");
            c.seconds = *seconds;
        } else if (name == "dump" || name == "snapshot") {
            c.kind = name == "dump" ? Command::Kind::Dump : Command::Kind::Snapshot;
            arity(1, 1, "an output file name");
            c.path = p.outputFile(args[0].text, name.c_str());
        } else if (name == "film") {
            c.kind = Command::Kind::Film;
            arity(3, 3, "a file prefix, seconds and frames per second: film PREFIX SECONDS FPS");
            c.path = p.outputFile(args[0].text, "film");
            auto seconds = p.number(args[1].text);
            auto fps = p.number(args[2].text);
            if (!seconds || !(*seconds > 0) || *seconds > kMaxFilmSeconds)
                p.fail("film: '" + shown(args[1].text) +
                       "' is not a number of seconds in (0, 600]");
            if (!fps || !(*fps > 0) || *fps > kMaxFilmFps)
                p.fail("film: '" + shown(args[2].text) + "' is not a frame rate in (0, 120]");
            if (*seconds * *fps > kMaxFilmFrames) p.fail("film: more than 3600 frames");
            filmFrames += std::max(1L, std::lround(*seconds * *fps));
            if (filmFrames > kMaxScenarioFilmFrames)
                p.fail("film: the scenario's films pass 7200 frames in all");
            c.seconds = *seconds;
            c.fps = *fps;
        } else if (name == "expect") {
            c.kind = Command::Kind::Expect;
            std::vector<Word> words;
            for (const Token& t : args)
                words.push_back({t.text, t.quoted});
            if (std::string problem = parseExpectation(words, c.expectation); !problem.empty())
                p.fail("expect: " + shown(problem, 200));
        } else if (name == "match") {
            c.kind = Command::Kind::Match;
            parseMatch(p, args, c);
        } else {
            p.fail("unknown command '" + shown(name) + "'");
        }
        scenario.commands.push_back(std::move(c));
    }
    return scenario;
}

Scenario parseScenarioFile(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        throw ScenarioError(path, 0, "cannot read the scenario file");
    auto size = fs::file_size(path, error);
    if (error || size > kMaxScenarioBytes)
        throw ScenarioError(path, 0, "the scenario file is too large (at most 4 MiB)");
    std::ifstream in(path, std::ios::binary);
    std::string text(size, '\0');
    in.read(text.data(), std::streamsize(size));
    if (in.bad()) throw ScenarioError(path, 0, "cannot read the scenario file");
    text.resize(std::size_t(in.gcount()));
    fs::path directory = fs::path(path).parent_path();
    if (directory.empty()) directory = ".";
    return parseScenario(text, path, directory.string());
}

} // namespace sim
