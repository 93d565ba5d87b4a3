// The GLUT frame loop: the display, reshape and idle callbacks.
#pragma once

void displayFrame();

// The parts of displayFrame in the order they are drawn.
enum FrameSection {
    FRAME_UPDATE, // the update step: clips, motion, the wave field, the pose and skinning, the sounds
    FRAME_CLEAR,
    FRAME_CANOE,
    FRAME_PADDLER,
    FRAME_SKY,
    FRAME_HULL_MASK,
    FRAME_WATER,
    FRAME_SWAP,
    FRAME_SECTION_COUNT
};
// Called after each section of displayFrame; a no-op in the program, the scene benchmark times the
// sections through it.
extern void (*frameSectionDone)(FrameSection section);
extern bool paddlerShown; // true; the scene benchmark times frames without the paddler too
void reshapeWindow(int width, int height);
void idleStep();
