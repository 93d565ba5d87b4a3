// Key and mouse handlers; they only set state that the next frame reads.
#include "app/controls.h"

#include "app/counters.h"

#include <cstdlib>

void keyPressed(unsigned char key) {
    switch (key) {
    case 27: // Esc
        std::exit(0);
    case 'c':
        showCounters = -showCounters;
        break;
    default:
        break;
    }
}

void specialKeyPressed(int) {}

void mouseButton(int, int, int, int) {}

void mouseDrag(int, int) {}
