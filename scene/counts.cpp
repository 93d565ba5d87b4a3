// The frame's counts.
#include "scene/counts.h"

int tileCount = 0;
