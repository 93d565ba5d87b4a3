// The GLUT frame loop: the display, reshape and idle callbacks.
#pragma once

void displayFrame();
extern bool paddlerShown; // true; the scene benchmark times frames without the paddler too
void reshapeWindow(int width, int height);
void idleStep();
