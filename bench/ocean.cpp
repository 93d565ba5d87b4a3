// The CPU work of one ocean tick (everything stepOcean does but the GL upload call), beside the same
// tick with its three 64 x 64 inverse transforms done by planned FFTW, and our 2-D transform alone
// beside FFTW's. Prints the ratios ours / FFTW at the end. FFTW is there for information: the bound is
// the whole tick within 2 % of a 60 fps frame (about 350 us).
#include "ocean/fft.h"
#include "ocean/spectrum.h"
#include "ocean/surface.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#ifdef CANOE_HAVE_FFTW
#include <fftw3.h>
#endif

namespace {

unsigned char pixels[64 * 64 * 3];
double fftwLargestDifference = -1.0; // between FFTW's drawing grid and ours, when the FFTW tick ran

void prepareSea() {
    seedRandom(20260101);
    initSpectrum();
}

// The timed ticks, from the same sea each time, one 60th of a second apart.
void runTicks(benchmark::State& state) {
    prepareSea();
    double T = 0.0;
    for (auto _ : state) {
        advanceOcean(T);
        encodeNormalMap(pixels);
        benchmark::DoNotOptimize(pixels);
        T -= 1.0 / 60.0;
    }
}

void BM_OceanTick(benchmark::State& state) {
    runTicks(state);
}
BENCHMARK(BM_OceanTick);

Complex source[64][64], data[64][64];

// Copies the same input into data and transforms it, for every iteration.
template <typename Inverse> void runInverses(benchmark::State& state, Inverse inverse) {
    for (int i = 0; i < 64; i++)
        for (int j = 0; j < 64; j++)
            source[i][j] = {std::sin(i * 0.3 + j), std::cos(j * 0.7 - i)};
    for (auto _ : state) {
        std::memcpy(data, source, sizeof data);
        inverse();
        benchmark::DoNotOptimize(data);
    }
    state.SetLabel("copy + inverse");
}

void BM_Fft2d(benchmark::State& state) {
    runInverses(state, [] { fft2d(data, 64, 64, -1); });
}
BENCHMARK(BM_Fft2d);

#ifdef CANOE_HAVE_FFTW
fftw_plan heightPlan, displacementXPlan, displacementYPlan;

// The tick's three arrays each have their own planned in-place transform.
int fftwTransform(Complex (*c)[FFT_ROW_LENGTH], int, int, int) {
    fftw_execute(c == heightField ? heightPlan : c == displacementX ? displacementXPlan : displacementYPlan);
    return 1;
}

void BM_OceanTickFftw(benchmark::State& state) {
    // Planning with FFTW_MEASURE scribbles over the arrays; the sea is drawn afterwards.
    auto plan = [](Complex(*c)[FFT_ROW_LENGTH]) {
        fftw_complex* data = reinterpret_cast<fftw_complex*>(&c[0][0]);
        // FFTW_BACKWARD: exponent +2 pi i, no scaling, the ocean's convention.
        return fftw_plan_dft_2d(64, 64, data, data, FFTW_BACKWARD, FFTW_MEASURE);
    };
    heightPlan = plan(heightField);
    displacementXPlan = plan(displacementX);
    displacementYPlan = plan(displacementY);
    prepareSea();

    // Both ticks must describe the same sea (to rounding).
    advanceOcean(-5.0);
    static Vec3 ours[DRAW_GRID_N][DRAW_GRID_N];
    std::copy(&drawVertices[0][0], &drawVertices[0][0] + DRAW_GRID_N * DRAW_GRID_N, &ours[0][0]);
    oceanTransform = fftwTransform;
    advanceOcean(-5.0);
    double largestDifference = 0.0;
    for (int i = 0; i < DRAW_GRID_N; i++)
        for (int j = 0; j < DRAW_GRID_N; j++) {
            largestDifference = std::max(largestDifference, std::fabs(ours[i][j].x - drawVertices[i][j].x));
            largestDifference = std::max(largestDifference, std::fabs(ours[i][j].z - drawVertices[i][j].z));
        }
    if (largestDifference > 1e-9) state.SkipWithError("FFTW and our tick disagree");
    fftwLargestDifference = largestDifference;

    runTicks(state);
    oceanTransform = fft2d;
}
BENCHMARK(BM_OceanTickFftw);

void BM_Fft2dFftw(benchmark::State& state) {
    fftw_complex* raw = reinterpret_cast<fftw_complex*>(&data[0][0]);
    fftw_plan inverse = fftw_plan_dft_2d(64, 64, raw, raw, FFTW_BACKWARD, FFTW_MEASURE);
    runInverses(state, [inverse] { fftw_execute(inverse); });
}
BENCHMARK(BM_Fft2dFftw);
#endif

// Keeps the CPU time per iteration of every benchmark (the least over repetitions, when
// --benchmark_repetitions asks for several: the figure least disturbed by other work on the machine),
// so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> nanoseconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration) continue;
            double time = run.GetAdjustedCPUTime() * scaleToNanoseconds(run.time_unit);
            auto known = nanoseconds.find(run.benchmark_name());
            if (known == nanoseconds.end() || time < known->second) nanoseconds[run.benchmark_name()] = time;
        }
        ConsoleReporter::ReportRuns(runs);
    }

  private:
    static double scaleToNanoseconds(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kMicrosecond:
            return 1e3;
        case benchmark::kMillisecond:
            return 1e6;
        case benchmark::kSecond:
            return 1e9;
        default:
            return 1.0;
        }
    }
};

void printRatio(const RatioReporter& reporter, const char* what, const std::string& ours,
                const std::string& theirs) {
    auto a = reporter.nanoseconds.find(ours), b = reporter.nanoseconds.find(theirs);
    if (a == reporter.nanoseconds.end() || b == reporter.nanoseconds.end()) return;
    std::printf("%-26s ours %8.2f us   FFTW %8.2f us   ratio ours / FFTW %.2f\n", what, a->second / 1e3,
                b->second / 1e3, a->second / b->second);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("CPU time per iteration:\n");
    printRatio(reporter, "ocean tick", "BM_OceanTick", "BM_OceanTickFftw");
    printRatio(reporter, "2-D inverse transform", "BM_Fft2d", "BM_Fft2dFftw");
    if (fftwLargestDifference >= 0.0)
        std::printf("FFTW's drawing grid and ours differ by at most %.1e\n", fftwLargestDifference);
    return 0;
}
