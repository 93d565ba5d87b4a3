// Runs the real canoe program as a person would: in a scratch copy of the run folder, in a real
// window on its own Xvfb screen (1280 x 1024 x 24), with keys and mouse events from xdotool,
// screenshots from xwd, and its console output and exit status at the end.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
    int r, g, b;
};

// A screenshot of the whole screen, RGB, top row first.
struct Screenshot {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels; // 3 bytes a pixel
    bool valid() const { return width > 0 && height > 0; }
    // (x, y) from the top left corner, as xdotool and image viewers count.
    Rgb at(int x, int y) const;
    // Mean colour over a rectangle.
    Rgb mean(int x0, int y0, int x1, int y1) const;
    // Fraction of pixels in the rectangle for which 'test' holds.
    double fraction(int x0, int y0, int x1, int y1, const std::function<bool(Rgb)>& test) const;
};

// Mean absolute difference per channel between two screenshots over a rectangle.
double meanDifference(const Screenshot& a, const Screenshot& b, int x0, int y0, int x1, int y1);

class Session {
  public:
    // Makes a scratch copy of the run folder; 'prepare' may change it (remove or damage files)
    // before the program starts.
    Session();
    ~Session(); // always ends the program and Xvfb, and removes the scratch folder

    std::string folder() const { return scratch; }
    // Starts the program in the scratch folder; returns false if Xvfb or the program can't start.
    bool start(const std::vector<std::string>& extraArgs = {});
    // Waits up to 'seconds' for the window to be mapped and drawn.
    bool waitForWindow(double seconds = 30);
    // Waits up to 'seconds' for the program to exit; true if it did.
    bool waitForExit(double seconds);
    bool running();
    int exitStatus() const {
        return status;
    } // valid after waitForExit returned true; -1 if killed by a signal

    // Size of the program's window as the X server has it; false if it can't be found.
    bool windowSize(int& width, int& height);

    // xdotool key names: "Escape", "c", "w", "Up", "space", ...
    void key(const std::string& name);
    void mouseMove(int x, int y);
    void mouseDown(int button = 1);
    void mouseUp(int button = 1);
    // Drags with the left button from (x0, y0) to (x1, y1) in 'steps' motion events.
    void drag(int x0, int y0, int x1, int y1, int steps = 8);

    // Takes a screenshot; when 'name' is given it is also saved as PNG under the screenshot folder.
    Screenshot screenshot(const std::string& name = "");
    // Everything the program wrote on standard output and standard error so far.
    std::string console() const;

    void sleep(double seconds);

  private:
    std::string scratch, display, logPath;
    int xvfbPid = -1, programPid = -1, status = -1;
    bool exited = false;
    void stopProgram();
};

// Where screenshots go (build/screenshots).
std::string screenshotFolder();

} // namespace e2e
