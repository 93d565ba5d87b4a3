// The normal map's pixel buffer, filled by every tick.
#include "ocean/normal_map.h"

#include <cstdlib>

unsigned char* normalMapPixels = nullptr;

bool allocateNormalMap() {
    // Zeroed rather than left unset: the texture made from it before the first tick starts from
    // defined bytes.
    if (!normalMapPixels) normalMapPixels = static_cast<unsigned char*>(std::calloc(NORMAL_MAP_BYTES, 1));
    return normalMapPixels != nullptr;
}
