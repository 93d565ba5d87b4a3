// Start-up and per-frame costs of the water that need no GL: decoding a 256 x 256 cube face, the
// normalisation cube's texels, and the cone test over the 8 x 8 tile block.
#include "base/bmp.h"
#include "scene/view.h"
#include "water/cube_maps.h"
#include "water/tiles.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <vector>

static std::vector<unsigned char> bitmap24(int size) {
    int stride = (size * 3 + 3) / 4 * 4;
    std::vector<unsigned char> file(54 + static_cast<size_t>(stride) * size, 0);
    auto put32 = [&](size_t at, unsigned v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = (v >> (8 * i)) & 255;
    };
    file[0] = 'B', file[1] = 'M';
    put32(10, 54);
    put32(14, 40);
    put32(18, size);
    put32(22, size);
    file[26] = 1, file[28] = 24;
    for (size_t i = 54; i < file.size(); ++i)
        file[i] = static_cast<unsigned char>(i * 7);
    return file;
}

static void decodeCubeFace(benchmark::State& state) {
    std::vector<unsigned char> file = bitmap24(256);
    for (auto _ : state) {
        RgbImage* image = decodeBmpImage(file.data(), file.size(), "face.bmp");
        benchmark::DoNotOptimize(image->pixels);
        freeRgbImage(image);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}
BENCHMARK(decodeCubeFace);

static void normalizeCubeFaces(benchmark::State& state) {
    std::vector<unsigned char> face(32 * 32 * 3);
    for (auto _ : state)
        for (int f = 0; f < 6; ++f) {
            computeNormalizeCubeFace(32, f, face.data());
            benchmark::ClobberMemory();
        }
}
BENCHMARK(normalizeCubeFaces);

static void cullTileBlock(benchmark::State& state) {
    for (auto _ : state) {
        computeViewCone();
        benchmark::DoNotOptimize(countVisibleTiles(127, 127, viewConeApex, viewConeEdgeA, viewConeEdgeB));
        cameraHeading += 1;
    }
    cameraHeading = 40;
}
BENCHMARK(cullTileBlock);
