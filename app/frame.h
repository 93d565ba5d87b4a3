// The GLUT frame loop: one-time scene set-up and the display, reshape and idle callbacks.
#pragma once

// Reads the sixteen canoe shape files and the stroke sample file; a missing or damaged shape file ends
// the program with status 1 (after its message). Runs before the window exists.
void readCanoeFiles();

// Sets the fixed GL state and builds every texture, list, shader and table; needs the GL context.
void initScene();

void displayFrame();
extern bool paddlerShown; // true; the scene benchmark times frames without the paddler too
void reshapeWindow(int width, int height);
void idleStep();
