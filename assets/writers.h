// The generator's writers, one per group of data files. Each writes into 'folder' and returns
// false (after a message) when a file can't be written.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Environment cube faces, "bottom.jpg", "cloudy1.jpg".
bool writeSkyAndWaterImages(const std::string& folder);
// The 16 ".shad" shapes, "fstroke.stroke", "gunwale.mask", the canoe's BMP textures.
bool writeCanoeData(const std::string& folder);
// "K.man" and "K.pad" with their textures and clips.
bool writePaddlerModels(const std::string& folder);
// "loon5.wav".
bool writeLoonSound(const std::string& folder);
// The stroke's sounds: "splash.wav" (the catch), "blade.wav" (the blade's run through the water, a
// seamless loop) and "drips.wav" (the recovery).
bool writeStrokeSounds(const std::string& folder);

// Opens 'folder/name' for binary writing; prints a message and returns null on failure.
FILE* openAssetFile(const std::string& folder, const char* name);
// Writes 'bytes' as 'folder/name'; false (after a message) when the file can't be written whole.
bool writeAssetBytes(const std::string& folder, const char* name, const std::vector<unsigned char>& bytes);
// Writes 'pcm' as a 16-bit mono PCM WAV of 'rate' frames a second.
bool writeMonoWav(const std::string& folder, const char* name, const std::vector<int16_t>& pcm, int rate);
