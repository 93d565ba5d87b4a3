// Start-up cost of the canoe: reading a shape file the size of the bark skin (the largest, about 8,400
// vertices and 16,000 faces), its cylindrical texture coordinates.
#include "canoe/cylinder_tex_coords.h"
#include "canoe/shape_file.h"

#include <benchmark/benchmark.h>
#include <sstream>
#include <string>

static std::string largeShapeText() {
    const int vertices = 8439, faces = 16128;
    std::ostringstream text;
    text << "vertices " << vertices << "\nnormals " << vertices << "\nfaces " << faces << "\n";
    for (int pass = 0; pass < 2; pass++)
        for (int i = 0; i < vertices; i++)
            text << (i % 31) * 0.9731 - 14.5 << " " << (i % 17) * -1.1 << " " << i * 0.0178 - 70.1 << "\n";
    for (int f = 0; f < faces; f++) {
        int a = f % (vertices - 2) + 1;
        text << a << " " << a << " " << a << " " << a + 1 << " " << a + 1 << " " << a + 1 << " " << a + 2
             << " " << a + 2 << " " << a + 2 << "\n";
    }
    return text.str();
}

static void BM_ReadLargestShapeFile(benchmark::State& state) {
    std::string text = largeShapeText();
    for (auto _ : state) {
        std::istringstream in(text);
        benchmark::DoNotOptimize(readShapeFile(in, 4));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadLargestShapeFile)->Unit(benchmark::kMillisecond);

static void BM_CylinderTexCoords(benchmark::State& state) {
    std::string text = largeShapeText();
    std::istringstream in(text);
    readShapeFile(in, 4);
    for (auto _ : state) {
        cylinderTexCoords(canoeShapes[4], 90);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CylinderTexCoords)->Unit(benchmark::kMicrosecond);
