// Runs the real canoe program as a person would: in a scratch copy of the run folder, on its own Xvfb
// screen (1280 x 1024 x 24), with xdotool's keys and mouse and xwd's screenshots.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
    int r, g, b;
};

// A screenshot of the whole screen, RGB, top row first; (x, y) from the top left corner.
struct Screenshot {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels; // 3 bytes a pixel
    Rgb at(int x, int y) const;
    Rgb mean(int x0, int y0, int x1, int y1) const; // over the rectangle
    double fraction(int x0, int y0, int x1, int y1, const std::function<bool(Rgb)>& test) const;
};

// Birch bark under the canoe's golden-tan material: warm, far more red than blue.
inline const auto bark = [](Rgb c) { return c.r > 100 && c.r > c.b + 30 && c.g > c.b; };

// Mean absolute difference per channel between two screenshots over a rectangle.
double meanDifference(const Screenshot& a, const Screenshot& b, int x0, int y0, int x1, int y1);

class Session {
  public:
    Session();  // a scratch copy of the run folder, which a test may change before start
    ~Session(); // always ends the program and Xvfb, and removes the scratch folder

    std::string folder() const { return scratch; }
    // Starts Xvfb and the program in the scratch folder; false if either can't start.
    bool start(const std::vector<std::string>& extraArgs = {});
    bool waitForWindow(double seconds = 30); // mapped and drawn
    bool waitForExit(double seconds);
    bool running();
    int exitStatus() const { return status; } // after waitForExit; -1 if killed by a signal

    void key(const std::string& name); // xdotool key names: "Escape", "c", "Up", "space", ...
    // Drags with the left button from (x0, y0) to (x1, y1) in 'steps' motion events.
    void drag(int x0, int y0, int x1, int y1, int steps = 8);
    // Takes a screenshot; with a name it is also saved as PNG under build/screenshots.
    Screenshot screenshot(const std::string& name = "");
    std::string console() const; // standard output and error so far
    void sleep(double seconds);

  private:
    std::string scratch, display, logPath;
    int xvfbPid = -1, programPid = -1, status = -1;
    bool exited = false;
    int xdotool(const std::string& arguments);
    void stopProgram();
};

// Esc: the program ends with status 0 within 10 s.
void quit(Session& session);

} // namespace e2e
