// Runs the real canoe program as a person would: in a scratch copy of the run folder, on its own Xvfb
// screen (1280 x 1024 x 24), with xdotool's keys and mouse and xwd's screenshots read back through
// ImageMagick.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace e2e {

struct Rgb {
    int r, g, b;
};

// A screenshot of the whole screen, RGB, top row first; (x, y) from the top left corner.
struct Screenshot {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels; // 3 bytes a pixel
    Rgb at(int x, int y) const {
        const unsigned char* p = &pixels[3 * (static_cast<size_t>(y) * width + x)];
        return Rgb{p[0], p[1], p[2]};
    }
    // The mean colour over the rectangle, and the fraction of its pixels that pass 'test'.
    Rgb mean(int x0, int y0, int x1, int y1) const {
        long sum[3] = {0, 0, 0}, count = std::max(1L, long(x1 - x0) * (y1 - y0));
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                Rgb c = at(x, y);
                sum[0] += c.r, sum[1] += c.g, sum[2] += c.b;
            }
        return Rgb{int(sum[0] / count), int(sum[1] / count), int(sum[2] / count)};
    }
    double fraction(int x0, int y0, int x1, int y1, const std::function<bool(Rgb)>& test) const {
        long hits = 0, count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x, ++count)
                hits += test(at(x, y));
        return count ? double(hits) / count : 0.0;
    }
};

// Birch bark under the canoe's golden-tan material: warm, far more red than blue.
inline const auto bark = [](Rgb c) { return c.r > 100 && c.r > c.b + 30 && c.g > c.b; };

// Mean absolute difference per channel between two screenshots over a rectangle.
inline double meanDifference(const Screenshot& a, const Screenshot& b, int x0, int y0, int x1, int y1) {
    double sum = 0;
    long count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++count) {
            Rgb p = a.at(x, y), q = b.at(x, y);
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        }
    return count ? sum / (3.0 * count) : 0.0;
}

inline int run(const std::string& command) {
    return std::system(command.c_str());
}
inline std::string inQuotes(const std::string& s) {
    return "'" + s + "'";
}

// Forks and runs 'args' in 'folder' (if any) on 'display' (if any), output to 'output', in its own group.
inline pid_t spawn(const std::vector<std::string>& args, const std::string& folder, const std::string& output,
                   const std::string& display) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), in = open("/dev/null", O_RDONLY);
    dup2(out, 1), dup2(out, 2), dup2(in, 0), close(out), close(in);
    setpgid(0, 0);
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

class Session {
  public:
    // A scratch copy of the run folder, which a test may change before start.
    Session() {
        char pattern[] = "/tmp/canoe-e2e-XXXXXX";
        if (!mkdtemp(pattern)) return;
        scratch = pattern;
        logPath = scratch + ".log";
        run("cp -a " + inQuotes(std::string(CANOE_RUN_DIR) + "/.") + " " + inQuotes(scratch));
    }
    // Always ends the program and Xvfb, and removes the scratch folder.
    ~Session() {
        stopProgram();
        if (xvfbPid > 0) {
            kill(xvfbPid, SIGTERM);
            waitpid(xvfbPid, nullptr, 0);
        }
        if (!scratch.empty()) run("rm -rf " + inQuotes(scratch) + " " + inQuotes(logPath));
    }

    std::string folder() const { return scratch; }

    // Starts Xvfb and the program in the scratch folder; false if either can't start. Xvfb picks a free
    // display and writes its number to the pipe once it takes connections.
    bool start(const std::vector<std::string>& extraArgs = {}) {
        int ready[2];
        if (scratch.empty() || pipe(ready) != 0) return false;
        xvfbPid = spawn({"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0", "1280x1024x24",
                         "-nolisten", "tcp", "-noreset"},
                        "", "/dev/null", "");
        close(ready[1]);
        char number[16] = {};
        bool opened = read(ready[0], number, sizeof number - 1) > 0;
        close(ready[0]);
        if (!opened) return false;
        display = ":" + std::to_string(std::atoi(number));
        std::vector<std::string> args = {CANOE_BINARY};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        programPid = spawn(args, scratch, logPath, display);
        return programPid > 0;
    }

    // Mapped, then given 'settle' seconds for its first frames to reach the screen.
    bool waitForWindow(double seconds = 30, double settle = 1.5) {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        bool shown = false;
        while (running() && std::chrono::steady_clock::now() < end &&
               !(shown = xdotool("search --onlyvisible --name canoe >/dev/null 2>&1") == 0))
            sleep(0.2);
        if (shown) sleep(settle);
        return shown && running();
    }
    bool waitForExit(double seconds) {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (running() && std::chrono::steady_clock::now() < end)
            sleep(0.05);
        return !running() && exited;
    }
    int exitStatus() const { return status; } // after waitForExit; -1 if killed by a signal

    void key(const std::string& name) {
        xdotool("key " + inQuotes(name));
    } // "Escape", "c", "Up", "space", ...
    // Drags with the left button from (x0, y0) to (x1, y1) in 16 motion events.
    void drag(int x0, int y0, int x1, int y1) {
        xdotool("mousemove " + std::to_string(x0) + " " + std::to_string(y0) + " mousedown 1");
        for (int i = 1; i <= 16; ++i) {
            xdotool("mousemove " + std::to_string(x0 + (x1 - x0) * i / 16) + " " +
                    std::to_string(y0 + (y1 - y0) * i / 16));
            sleep(0.05);
        }
        xdotool("mouseup 1");
    }

    // Takes a screenshot; with a name it is also saved as PNG under build/screenshots.
    Screenshot screenshot(const std::string& name = "") {
        std::string dump = scratch + ".xwd", ppm = scratch + ".ppm";
        run("DISPLAY=" + display + " xwd -root -silent > " + inQuotes(dump) + " 2>/dev/null");
        run("convert xwd:" + inQuotes(dump) + " -strip -depth 8 ppm:" + inQuotes(ppm) + " 2>/dev/null");
        if (!name.empty())
            run("mkdir -p " + inQuotes(CANOE_SCREENSHOT_DIR) + " && convert xwd:" + inQuotes(dump) + " " +
                inQuotes(std::string(CANOE_SCREENSHOT_DIR) + "/" + name + ".png") + " 2>/dev/null");
        Screenshot shot;
        std::ifstream in(ppm, std::ios::binary);
        std::string magic;
        int depth = 0;
        bool header =
            in >> magic >> shot.width >> shot.height >> depth && magic == "P6" && depth == 255 && in.get();
        shot.pixels.resize(header ? size_t(shot.width) * shot.height * 3 : 0);
        if (!header || !in.read(reinterpret_cast<char*>(shot.pixels.data()), shot.pixels.size()))
            shot = Screenshot();
        unlink(dump.c_str());
        unlink(ppm.c_str());
        return shot;
    }

    // Standard output and error so far.
    std::string console() const {
        std::ifstream in(logPath);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

  private:
    std::string scratch, display, logPath;
    int xvfbPid = -1, programPid = -1, status = -1;
    bool exited = false;

    bool running() {
        if (programPid <= 0 || exited) return false;
        int raw = 0;
        if (waitpid(programPid, &raw, WNOHANG) != programPid) return true;
        exited = true;
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return false;
    }
    void stopProgram() {
        if (!running()) return;
        kill(programPid, SIGTERM);
        if (!waitForExit(3)) {
            kill(programPid, SIGKILL);
            waitpid(programPid, nullptr, 0);
            exited = true;
        }
    }
    int xdotool(const std::string& arguments) { return run("DISPLAY=" + display + " xdotool " + arguments); }
};

// Esc: the program ends with status 0 within 10 s.
inline void quit(Session& session) {
    session.key("Escape");
    ASSERT_TRUE(session.waitForExit(10)) << session.console();
    EXPECT_EQ(session.exitStatus(), 0) << session.console();
}

} // namespace e2e
