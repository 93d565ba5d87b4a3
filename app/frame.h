// The GLUT frame loop: one-time scene set-up and the display, reshape and idle callbacks.
#pragma once

// Sets the fixed GL state and builds every texture, list, shader and table; needs the GL context.
void initScene();

void displayFrame();
void reshapeWindow(int width, int height);
void idleStep();
