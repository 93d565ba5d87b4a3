// Keyboard and mouse: stroke requests, the counters toggle, Esc, and view drags.
#pragma once

void keyPressed(unsigned char key);
void specialKeyPressed(int key);
void mouseButton(int button, int state, int x, int y);
void mouseDrag(int x, int y);
