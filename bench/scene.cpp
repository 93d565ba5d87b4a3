// The whole scene's frame in a real window, from the centred view with the paddler stroking: at full
// size and in a small window (where the geometry's cost shows alone), and without the paddler. Each
// section of the frame is timed with glFinish after it and reported in milliseconds per frame. Run it in
// the run folder (the paddler's model files are opened before main), under Xvfb for the software renderer:
//   cd build/run && xvfb-run -a -s '-screen 0 1280x1024x24' ../bench/bench_scene
#include "app/frame.h"
#include "app/scene.h"
#include "ocean/surface.h"
#include "paddler/strokes.h"
#include "scene/view.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <unistd.h>

namespace {

bool sceneReady = false;
Matrix4 startPlacement;

void noDisplay() {}

// The program's start-up, once: data files, a 1280 x 1024 window, initScene; then the view the drag of
// the headless run gives (the canoe in the middle) and a forward stroke on the paddle's side.
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
    glutDisplayFunc(noDisplay);
    initScene();
    reshapeWindow(1280, 1024);
    cameraHeading = 0.0f;
    requestStroke(0, strokeState.paddleSide);
    startPlacement = sceneMatrix;
    sceneReady = true;
    return true;
}

// Resizes the window and waits until the window system has done it.
void setWindowSize(int width, int height) {
    glutReshapeWindow(width, height);
    for (int i = 0; i < 400; i++) {
        glutMainLoopEvent();
        if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height) break;
        usleep(5000);
    }
    reshapeWindow(width, height);
}

using Clock = std::chrono::steady_clock;
Clock::time_point sectionStart;
double sectionSeconds[FRAME_SECTION_COUNT];

void timeSection(FrameSection section) {
    glFinish();
    Clock::time_point now = Clock::now();
    sectionSeconds[section] += std::chrono::duration<double>(now - sectionStart).count();
    sectionStart = now;
}

void SceneFrame(benchmark::State& state) {
    if (!startScene()) {
        state.SkipWithError("needs a display and the run folder as the working folder");
        return;
    }
    paddlerShown = state.range(0) != 0;
    int width = static_cast<int>(state.range(1)), height = width * 4 / 5;
    setWindowSize(width, height);
    double oceanSeconds = 0.0;
    for (FrameSection s = FRAME_CLEAR; s < FRAME_SECTION_COUNT; s = FrameSection(s + 1))
        sectionSeconds[s] = 0.0;
    frameSectionDone = timeSection;
    for (auto _ : state) {
        // The canoe keeps its place while the paddler strokes, so every frame shows the same view.
        sceneMatrix = startPlacement;
        Clock::time_point start = Clock::now();
        stepOcean();
        sectionStart = Clock::now();
        oceanSeconds += std::chrono::duration<double>(sectionStart - start).count();
        displayFrame();
    }
    frameSectionDone = [](FrameSection) {};
    paddlerShown = true;
    auto perFrameMs = [&](double seconds) {
        return benchmark::Counter(seconds * 1000.0, benchmark::Counter::kAvgIterations);
    };
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["water"] = perFrameMs(sectionSeconds[FRAME_WATER]);
    state.counters["canoe"] = perFrameMs(sectionSeconds[FRAME_CANOE]);
    state.counters["paddler"] = perFrameMs(sectionSeconds[FRAME_PADDLER]);
    state.counters["sky"] = perFrameMs(sectionSeconds[FRAME_SKY]);
    state.counters["mask"] = perFrameMs(sectionSeconds[FRAME_HULL_MASK]);
    state.counters["rest"] = perFrameMs(sectionSeconds[FRAME_CLEAR] + sectionSeconds[FRAME_SWAP] +
                                        oceanSeconds); // clear, swap, ocean
}

} // namespace

BENCHMARK(SceneFrame)
    ->ArgNames({"paddler", "width"})
    ->Args({1, 1280})
    ->Args({0, 1280})
    ->Args({1, 160})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->UseRealTime();
