// The whole scene's frame in a real window, frames with the paddler and without it. Run it in the run
// folder (the paddler's model files are opened before main), under Xvfb for the software renderer:
//   cd build/run && xvfb-run -s '-screen 0 1280x1024x24' ../bench/bench_scene
#include "app/frame.h"
#include "app/scene.h"
#include "ocean/surface.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <unistd.h>

namespace {

bool sceneReady = false;

// The program's start-up, once: data files, a 1280 x 1024 window, initScene.
bool startScene() {
    if (sceneReady) return true;
    if (!std::getenv("DISPLAY") || access("K.man", R_OK) != 0) return false;
    readCanoeFiles();
    int argc = 1;
    char name[] = "bench_scene";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowSize(1280, 1024);
    glutCreateWindow(argv[0]);
    initScene();
    reshapeWindow(1280, 1024);
    sceneReady = true;
    return true;
}

void SceneFrame(benchmark::State& state) {
    if (!startScene()) {
        state.SkipWithError("needs a display and the run folder as the working folder");
        return;
    }
    paddlerShown = state.range(0) != 0;
    for (auto _ : state) {
        stepOcean();
        displayFrame();
        glFinish();
    }
    paddlerShown = true;
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(SceneFrame)
    ->ArgName("paddler")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->UseRealTime();
