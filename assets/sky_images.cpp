// Environment cube faces, the sea bottom and the cloud texture.
#include "assets/writers.h"

bool writeSkyAndWaterImages(const std::string&) { return true; }
