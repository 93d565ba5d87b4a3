// The choice between the plain and the AVX build of the ocean's batched loops.
#include "ocean/lanes.h"

bool useAvxBuild = processorHasAvx();
