// Shared helpers of the writers: open or write a file in the run folder, a WAV among them.
#include "assets/writers.h"

#include <cstdio>

FILE* openAssetFile(const std::string& folder, const char* name) {
    std::string path = folder + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::fprintf(stderr, "canoe_assets: can't write %s\n", path.c_str());
    return file;
}

bool writeAssetBytes(const std::string& folder, const char* name, const std::vector<unsigned char>& bytes) {
    FILE* file = openAssetFile(folder, name);
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::fprintf(stderr, "canoe_assets: can't write %s/%s\n", folder.c_str(), name);
    return ok;
}

static void putLittleEndian(std::vector<unsigned char>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

bool writeMonoWav(const std::string& folder, const char* name, const std::vector<int16_t>& pcm, int rate) {
    std::vector<unsigned char> wav;
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.size()) * 2;
    wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
    putLittleEndian(wav, 36 + dataBytes, 4);
    wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLittleEndian(wav, 16, 4);
    putLittleEndian(wav, 1, 2); // PCM
    putLittleEndian(wav, 1, 2); // mono
    putLittleEndian(wav, rate, 4);
    putLittleEndian(wav, rate * 2, 4);
    putLittleEndian(wav, 2, 2);
    putLittleEndian(wav, 16, 2);
    wav.insert(wav.end(), {'d', 'a', 't', 'a'});
    putLittleEndian(wav, dataBytes, 4);
    for (int16_t sample : pcm)
        putLittleEndian(wav, static_cast<uint16_t>(sample), 2);
    return writeAssetBytes(folder, name, wav);
}
