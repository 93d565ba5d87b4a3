// The end-to-end harness: Xvfb, the real program in a scratch run folder, xdotool, xwd screenshots.
#include "e2e/harness.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace e2e {

Rgb Screenshot::at(int x, int y) const {
    const unsigned char* p = &pixels[3 * (static_cast<size_t>(y) * width + x)];
    return Rgb{p[0], p[1], p[2]};
}

Rgb Screenshot::mean(int x0, int y0, int x1, int y1) const {
    long sum[3] = {0, 0, 0}, count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            Rgb c = at(x, y);
            sum[0] += c.r, sum[1] += c.g, sum[2] += c.b, ++count;
        }
    if (count == 0) return Rgb{0, 0, 0};
    return Rgb{int(sum[0] / count), int(sum[1] / count), int(sum[2] / count)};
}

double Screenshot::fraction(int x0, int y0, int x1, int y1, const std::function<bool(Rgb)>& test) const {
    long hits = 0, count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++count)
            if (test(at(x, y))) ++hits;
    return count ? double(hits) / count : 0.0;
}

double meanDifference(const Screenshot& a, const Screenshot& b, int x0, int y0, int x1, int y1) {
    double sum = 0;
    long count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++count) {
            Rgb p = a.at(x, y), q = b.at(x, y);
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        }
    return count ? sum / (3.0 * count) : 0.0;
}

std::string screenshotFolder() {
    return CANOE_SCREENSHOT_DIR;
}

static int run(const std::string& command) {
    return std::system(command.c_str());
}

static std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

static bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

Session::Session() {
    char pattern[] = "/tmp/canoe-e2e-XXXXXX";
    char* made = mkdtemp(pattern);
    if (!made) return;
    scratch = made;
    logPath = scratch + ".log";
    run("cp -a " + quoted(std::string(CANOE_RUN_DIR) + "/.") + " " + quoted(scratch));
}

Session::~Session() {
    stopProgram();
    if (xvfbPid > 0) {
        kill(xvfbPid, SIGTERM);
        waitpid(xvfbPid, nullptr, 0);
    }
    if (!scratch.empty()) run("rm -rf " + quoted(scratch) + " " + quoted(logPath));
}

// A display number whose lock file and socket are both free.
static int freeDisplayNumber() {
    for (int n = 90 + getpid() % 50; n < 400; ++n)
        if (!exists("/tmp/.X" + std::to_string(n) + "-lock") &&
            !exists("/tmp/.X11-unix/X" + std::to_string(n)))
            return n;
    return -1;
}

static pid_t spawn(const std::vector<std::string>& args, const std::string& folder, const std::string& output,
                   const std::string& display) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
        dup2(out, 1);
        dup2(out, 2);
        close(out);
    }
    int in = open("/dev/null", O_RDONLY);
    if (in >= 0) dup2(in, 0);
    setpgid(0, 0);
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

bool Session::start(const std::vector<std::string>& extraArgs) {
    if (scratch.empty()) return false;
    int number = freeDisplayNumber();
    if (number < 0) return false;
    display = ":" + std::to_string(number);
    xvfbPid = spawn({"Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"}, "",
                    "/dev/null", "");
    std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    for (int i = 0; i < 200 && !exists(socket); ++i)
        sleep(0.05);
    if (!exists(socket)) return false;
    sleep(0.2);

    std::vector<std::string> args = {CANOE_BINARY};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    programPid = spawn(args, scratch, logPath, display);
    return programPid > 0;
}

bool Session::running() {
    if (programPid <= 0 || exited) return false;
    int raw = 0;
    pid_t done = waitpid(programPid, &raw, WNOHANG);
    if (done == programPid) {
        exited = true;
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return false;
    }
    return true;
}

bool Session::waitForExit(double seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (!running()) return exited;
        sleep(0.05);
    }
    return !running() && exited;
}

bool Session::waitForWindow(double seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::string search = "DISPLAY=" + display + " xdotool search --onlyvisible --name canoe >/dev/null 2>&1";
    while (std::chrono::steady_clock::now() < end) {
        if (!running()) return false;
        if (run(search) == 0) {
            sleep(1.5); // let the first frames reach the screen
            return running();
        }
        sleep(0.2);
    }
    return false;
}

void Session::stopProgram() {
    if (!running()) return;
    kill(programPid, SIGTERM);
    if (!waitForExit(3)) {
        kill(programPid, SIGKILL);
        waitpid(programPid, nullptr, 0);
        exited = true;
    }
}

bool Session::windowSize(int& width, int& height) {
    std::string command =
        "DISPLAY=" + display + " xdotool search --onlyvisible --name canoe getwindowgeometry 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return false;
    char line[256];
    bool found = false;
    while (fgets(line, sizeof line, pipe))
        if (std::sscanf(line, " Geometry: %dx%d", &width, &height) == 2) found = true;
    pclose(pipe);
    return found;
}

void Session::key(const std::string& name) {
    run("DISPLAY=" + display + " xdotool key " + quoted(name));
}

void Session::mouseMove(int x, int y) {
    run("DISPLAY=" + display + " xdotool mousemove " + std::to_string(x) + " " + std::to_string(y));
}

void Session::mouseDown(int button) {
    run("DISPLAY=" + display + " xdotool mousedown " + std::to_string(button));
}

void Session::mouseUp(int button) {
    run("DISPLAY=" + display + " xdotool mouseup " + std::to_string(button));
}

void Session::drag(int x0, int y0, int x1, int y1, int steps) {
    mouseMove(x0, y0);
    mouseDown(1);
    for (int i = 1; i <= steps; ++i) {
        mouseMove(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
        sleep(0.05);
    }
    mouseUp(1);
}

static uint32_t bigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

static int lowestBit(uint32_t mask) {
    int shift = 0;
    while (mask && !(mask & 1u))
        mask >>= 1, ++shift;
    return shift;
}

// Reads an XWD dump of a 24- or 32-bit TrueColor screen.
static Screenshot readXwd(const std::string& path) {
    Screenshot shot;
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() < 100) return shot;
    const unsigned char* h = data.data();
    uint32_t headerSize = bigEndian32(h), width = bigEndian32(h + 16), height = bigEndian32(h + 20);
    uint32_t byteOrder = bigEndian32(h + 28), bitsPerPixel = bigEndian32(h + 44);
    uint32_t bytesPerLine = bigEndian32(h + 48);
    uint32_t masks[3] = {bigEndian32(h + 56), bigEndian32(h + 60), bigEndian32(h + 64)};
    uint32_t colours = bigEndian32(h + 76);
    size_t offset = size_t(headerSize) + size_t(colours) * 12;
    if (bitsPerPixel != 32 && bitsPerPixel != 24) return shot;
    if (offset + size_t(bytesPerLine) * height > data.size()) return shot;
    shot.width = int(width);
    shot.height = int(height);
    shot.pixels.resize(size_t(width) * height * 3);
    int bytes = int(bitsPerPixel / 8);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = &data[offset + size_t(y) * bytesPerLine + size_t(x) * bytes];
            uint32_t v = 0;
            for (int i = 0; i < bytes; ++i)
                v |= uint32_t(p[i]) << (byteOrder == 0 ? 8 * i : 8 * (bytes - 1 - i));
            for (int c = 0; c < 3; ++c)
                shot.pixels[3 * (size_t(y) * width + x) + c] =
                    static_cast<unsigned char>((v & masks[c]) >> lowestBit(masks[c]));
        }
    return shot;
}

Screenshot Session::screenshot(const std::string& name) {
    std::string dump = scratch + ".xwd";
    run("DISPLAY=" + display + " xwd -root -silent > " + quoted(dump) + " 2>/dev/null");
    Screenshot shot = readXwd(dump);
    if (!name.empty()) {
        run("mkdir -p " + quoted(screenshotFolder()));
        run("convert xwd:" + quoted(dump) + " " + quoted(screenshotFolder() + "/" + name + ".png") +
            " 2>/dev/null");
    }
    unlink(dump.c_str());
    return shot;
}

std::string Session::console() const {
    std::ifstream in(logPath);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void Session::sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

} // namespace e2e
