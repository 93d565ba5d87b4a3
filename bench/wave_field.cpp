// The local wave field's tick: one step of the wave equation with its foam, and the texture's bytes the
// frame uploads (the upload itself is in bench_scene's water section). The bound is 0.3 ms a tick.
#include "ocean/wave_field.h"

#include <benchmark/benchmark.h>

namespace {

void WaveFieldTick(benchmark::State& state) {
    static unsigned char bytes[WAVE_FIELD_TEXTURE_BYTES];
    resetWaveField(0, 0);
    for (int k = 0; k < 20; ++k)
        pushWaveField(k * 7.0 - 70, k * 3.0 - 30, 1, 4);
    for (auto _ : state) {
        stepWaveField();
        if (state.range(0)) encodeWaveFieldTexture(bytes);
        benchmark::DoNotOptimize(bytes[0]);
    }
}

} // namespace

BENCHMARK(WaveFieldTick)->ArgName("with_texture")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
