// The canoe's textures as packed RGB pixels (bottom row first), and their BMP files.
#pragma once

#include <string>
#include <vector>

// Birch bark: cream with dark lenticels that run along the canoe (along the image's rows' direction
// of t, the boat's length: see the cylinder mapping of the inner hull).
std::vector<unsigned char> makeBirchImage(int size);
// Spruce: straight grain along the image's width (around each rib).
std::vector<unsigned char> makeSpruceImage(int size);
std::vector<unsigned char> makeLeatherImage(int size);
// A woven rawhide seat: strips with no zero channel, pure black holes that the keying makes clear.
std::vector<unsigned char> makeSeatImage(int size);
// A keyed decoration on black.
std::vector<unsigned char> makeKkkImage(int size);

bool writeCanoeImages(const std::string& folder);
