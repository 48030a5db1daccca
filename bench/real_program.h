#pragma once
// For the benchmarks that run the built program itself on the X display in
// DISPLAY (tools/bench.sh starts a virtual one when there is none): a copy
// of the program in a program folder of its own, started with a home of its
// own, its main window found with xdotool, its memory and CPU read from
// /proc.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace tarvolin::bench {

// The program built with the benchmarks, or the one TARVOLIN_BENCH_PROGRAM
// names.
inline std::string executable() {
    if (const char* other = std::getenv("TARVOLIN_BENCH_PROGRAM"); other && *other) return other;
#ifdef TARVOLIN_EXE
    return TARVOLIN_EXE;
#else
    return "";
#endif
}

using Clock = std::chrono::steady_clock;

// Why the program cannot be run here, or "".
inline std::string cannotRun() {
    if (executable().empty()) return "the program is not built (configure with TARVOLIN_GUI=ON)";
    if (std::getenv("DISPLAY") == nullptr || std::system("command -v xdotool >/dev/null") != 0)
        return "needs an X display and xdotool";
    return "";
}

// The main window's caption begins with the program's name; the splash
// window's does not.
constexpr const char* kMainWindow = "'^(Tarvolin|TARVOLIN)'";

inline bool mainWindowShown() {
    return std::system((std::string("xdotool search --onlyvisible --name ") + kMainWindow + " >/dev/null 2>&1")
                           .c_str()) == 0;
}

// Unmaps the main window, as minimising it does.
inline void unmapMainWindow() {
    [[maybe_unused]] int rc = std::system(
        (std::string("xdotool search --onlyvisible --name ") + kMainWindow + " windowunmap >/dev/null 2>&1").c_str());
}

// A field of /proc/<pid>/status (VmRSS, VmHWM, Threads), in megabytes for
// the kB ones.
inline double statusField(pid_t pid, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            const double v = std::stod(line.substr(field.size() + 1));
            return line.find("kB") != std::string::npos ? v / 1024.0 : v;
        }
    }
    return 0;
}

// CPU seconds (user and system) of a process, or of one of its threads.
inline double cpuSeconds(pid_t pid, pid_t thread = 0) {
    std::ifstream in("/proc/" + std::to_string(pid) +
                     (thread ? "/task/" + std::to_string(thread) : std::string()) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string f;
    double utime = 0, stime = 0;
    // Fields after the name, from the state (3rd field of the line) on.
    for (int i = 3; i <= 15 && fields >> f; ++i) {
        if (i == 14) utime = std::stod(f);
        if (i == 15) stime = std::stod(f);
    }
    return (utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A process started with an environment of the caller's, a home of its own
// and Qt's xcb platform; SIGTERM and a wait when it goes.
class Process {
public:
    Process(const std::vector<std::string>& argv, const std::string& home) {
        std::vector<std::string> env = {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config",
                                        "XDG_DATA_HOME=" + home + "/data", "QT_QPA_PLATFORM=xcb"};
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('='));
            if (name != "HOME" && name != "XDG_CONFIG_HOME" && name != "XDG_DATA_HOME" && name != "QT_QPA_PLATFORM")
                env.push_back(entry);
        }
        std::filesystem::create_directories(home);
        std::vector<std::string> args = argv;
        std::vector<char*> envp, argp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        for (std::string& a : args) argp.push_back(a.data());
        argp.push_back(nullptr);
        if (posix_spawnp(&pid_, args[0].c_str(), nullptr, nullptr, argp.data(), envp.data()) != 0) pid_ = 0;
    }
    ~Process() { stop(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = 0;
    }

    // Waits up to `limit` for the main window; false when it did not come.
    bool waitForMainWindow(std::chrono::seconds limit = std::chrono::seconds(60)) const {
        const auto start = Clock::now();
        while (Clock::now() - start < limit) {
            if (mainWindowShown()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

private:
    pid_t pid_ = 0;
};

// A copy of the program in `folder` (the program keeps its data in its own
// folder when it may write there); gives its path.
inline std::string copyProgram(const std::string& folder) {
    const std::string exe = folder + "tarvolin";
    std::filesystem::copy_file(executable(), exe, std::filesystem::copy_options::overwrite_existing);
    return exe;
}

}  // namespace tarvolin::bench
