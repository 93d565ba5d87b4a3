// The stroke state machine. For now every clip replays itself and the canoe stays where it is.
#include "paddler/strokes.h"

StrokeState strokeState;

void moveCanoe(int) {}

// Leaving requestedClip as it is replays the clip that just ended.
void chooseNextClip() {}
