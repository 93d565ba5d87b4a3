// The on-screen counters: frames per second and water tiles drawn, lower left, toggled with 'c'.
#pragma once

extern int frameCounter;   // frames drawn with the counters visible since the last rate update
extern int shownFps;       // the figure on screen
extern double lastFpsTime; // wall-clock time of the last rate update
extern int showCounters;   // counters are drawn while this is -1; 1 at start

// Counts one frame at time 'now' and refreshes shownFps once at least a second has passed.
void countFrame(double now);

// Draws the fps and tiles lines; called by the display callback while showCounters is -1.
void drawCounters();

// Draws text at window pixel (x, y) from the lower left corner, with a one-pixel black shadow.
// A line end moves the following characters 18 pixels down.
void drawText(int x, int y, const char* text);
