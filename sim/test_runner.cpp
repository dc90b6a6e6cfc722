#include "sim/test_runner.h"

#include "sim/options.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace sim {

namespace {

constexpr int kMaxJobs = 64;

struct Entry {
    std::string file;   // as shown and as handed to the run
    std::string folder; // its output folder
    pid_t pid = -1;
    int output = -1; // what the run wrote on standard error
    bool done = false;
    std::string status; // PASS, FAIL or ERROR
    std::string report;
};

// Every scenario under the paths, each folder's in the order of their paths; the problem when
// a path is neither.
std::string collect(const std::vector<std::string>& paths, std::vector<Entry>& entries) {
    std::set<std::string> folders;
    auto add = [&](const fs::path& file, const fs::path& name) {
        std::string folder = name.string(), unique = folder;
        for (int n = 2; !folders.insert(unique).second; n++)
            unique = folder + "-" + std::to_string(n);
        std::string shown = file.string();
        // A path that looks like an option is still a path.
        if (shown.starts_with("-")) shown = "./" + shown;
        Entry entry;
        entry.file = shown;
        entry.folder = unique;
        entries.push_back(std::move(entry));
    };
    for (const std::string& path : paths) {
        std::error_code error;
        if (fs::is_regular_file(path, error)) {
            add(path, fs::path(path).stem());
            continue;
        }
        if (!fs::is_directory(path, error)) return "no such scenario or folder: " + path;
        std::vector<fs::path> found;
        for (fs::recursive_directory_iterator
                 it(path, fs::directory_options::skip_permission_denied, error),
             end;
             !error && it != end; it.increment(error))
            if (it->path().extension() == ".vey" && it->is_regular_file(error))
                found.push_back(it->path());
        if (error) return "cannot read the folder " + path + ": " + error.message();
        std::sort(found.begin(), found.end());
        for (const fs::path& file : found)
            add(file, file.lexically_relative(path).replace_extension());
    }
    return "";
}

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    ::lseek(fd, 0, SEEK_SET);
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        text.append(buffer, std::size_t(n));
    }
    return text;
}

// Starts `vey-sim run` on the entry, its standard error kept aside; false when it cannot.
bool start(const TestOptions& options, Entry& entry) {
    entry.output = ::memfd_create("vey-sim-test", MFD_CLOEXEC);
    if (entry.output < 0) {
        entry.report =
            std::string("vey-sim: cannot keep the run's messages: ") + std::strerror(errno) + "\n";
        return false;
    }
    std::vector<std::string> args = {"vey-sim", "run", entry.file, "--out", entry.folder};
    if (options.record) args.push_back("--record");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, entry.output, STDERR_FILENO);
    int failed =
        posix_spawn(&entry.pid, options.simulator.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        ::close(entry.output);
        entry.report =
            "vey-sim: cannot start " + options.simulator + ": " + std::strerror(failed) + "\n";
        return false;
    }
    return true;
}

void finish(Entry& entry, int status) {
    entry.done = true;
    entry.report += readAll(entry.output);
    ::close(entry.output);
    if (!entry.report.empty() && entry.report.back() != '\n') entry.report += '\n';
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        entry.status = "PASS";
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == 1) {
        entry.status = "FAIL";
    } else {
        entry.status = "ERROR";
        if (WIFSIGNALED(status))
            entry.report += "vey-sim: the run ended on signal " + std::to_string(WTERMSIG(status)) +
                            " (" + strsignal(WTERMSIG(status)) + ")\n";
    }
}

std::string makeTemporaryFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vey-sim-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    return mkdtemp(buffer.data()) ? buffer.data() : "";
}

} // namespace

std::string parseTestArguments(const std::vector<std::string>& words, TestOptions& options) {
    bool hasJobs = false, hasFilter = false, hasOut = false;
    for (std::size_t i = 0; i < words.size(); i++) {
        const std::string& w = words[i];
        std::string option = w.substr(0, w.find('='));
        bool* seen = option == "--jobs"     ? &hasJobs
                     : option == "--filter" ? &hasFilter
                     : option == "--out"    ? &hasOut
                                            : nullptr;
        if (seen) {
            if (*seen) return option + " given twice";
            *seen = true;
            std::string value;
            if (std::string problem = takeOptionValue(words, i, option, value); !problem.empty())
                return problem;
            if (option == "--jobs") {
                auto r = std::from_chars(value.data(), value.data() + value.size(), options.jobs);
                if (r.ec != std::errc() || r.ptr != value.data() + value.size() ||
                    options.jobs < 1 || options.jobs > kMaxJobs)
                    return "--jobs must be a whole number from 1 to " + std::to_string(kMaxJobs);
            } else {
                (option == "--filter" ? options.filter : options.outDir) = value;
            }
        } else if (w == "--record") {
            options.record = true;
        } else if (w.size() > 1 && w[0] == '-') {
            return "unknown option '" + w + "'";
        } else {
            options.paths.push_back(w);
        }
    }
    if (options.paths.empty()) return "test needs scenarios or folders of them";
    return "";
}

int runTests(const TestOptions& options, std::ostream& out, std::ostream& err) {
    std::vector<Entry> all;
    if (std::string problem = collect(options.paths, all); !problem.empty()) {
        err << "vey-sim: " << problem << "\n";
        return 2;
    }
    std::vector<Entry> entries;
    for (Entry& e : all)
        if (e.file.find(options.filter) != std::string::npos) entries.push_back(std::move(e));
    std::size_t skipped = all.size() - entries.size();
    if (entries.empty()) {
        err << "vey-sim: "
            << (all.empty() ? "no scenarios (.vey files) found"
                            : "no scenario matches --filter '" + options.filter + "'")
            << "\n";
        return 2;
    }
    bool temporary = options.outDir.empty();
    std::string base = temporary ? makeTemporaryFolder() : options.outDir;
    std::error_code error;
    if (!base.empty()) fs::create_directories(base, error);
    if (base.empty() || error) {
        err << "vey-sim: cannot create " << (base.empty() ? "a temporary folder" : base) << ": "
            << (base.empty() ? std::strerror(errno) : error.message()) << "\n";
        return 1;
    }
    for (Entry& e : entries)
        e.folder = (fs::path(base) / e.folder).string();

    std::map<pid_t, std::size_t> running;
    std::size_t next = 0, shown = 0, done = 0, passed = 0;
    while (shown < entries.size()) {
        while (next < entries.size() && int(running.size()) < options.jobs) {
            Entry& e = entries[next];
            if (start(options, e))
                running[e.pid] = next;
            else
                e.done = true, e.status = "ERROR", done++;
            next++;
        }
        if (!running.empty()) {
            int status = 0;
            pid_t pid = ::waitpid(-1, &status, 0);
            if (pid < 0 && errno == EINTR) continue;
            auto it = running.find(pid);
            if (it == running.end()) continue;
            finish(entries[it->second], status);
            running.erase(it);
            done++;
        }
        if (options.progress) err << "\r\033[K" << std::flush;
        for (; shown < entries.size() && entries[shown].done; shown++) {
            Entry& e = entries[shown];
            out << e.status << " " << e.file << "\n" << e.report << std::flush;
            if (e.status == "PASS") {
                passed++;
                if (temporary) fs::remove_all(e.folder, error);
            }
        }
        if (options.progress && shown < entries.size())
            err << "[" << done << "/" << entries.size() << "] " << entries[shown].file
                << std::flush;
    }
    std::size_t failed = entries.size() - passed;
    out << passed << " passed, " << failed << " failed";
    if (skipped) out << ", " << skipped << " skipped";
    out << "\n";
    if (temporary && failed == 0)
        fs::remove_all(base, error);
    else if (temporary)
        err << "vey-sim: the outputs of the failed scenarios are in " << base << "\n";
    return failed ? 1 : 0;
}

} // namespace sim
