// Keyboard and mouse: stroke requests, the counters toggle, Esc, and view drags.
#pragma once

extern float lastMouseX, lastMouseY; // pointer position of the last left press or drag event

void keyPressed(unsigned char key);
void specialKeyPressed(int key);
void mouseButton(int button, int state, int x, int y);
void mouseDrag(int x, int y);

// The drag arithmetic of mouseDrag, without the redisplay request.
void turnView(int x, int y);
