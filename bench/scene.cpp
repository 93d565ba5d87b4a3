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
#include <ctime>
#include <string>
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
    requestStroke(SIDE_CLIPS[strokeState.paddleSide].forward, strokeState.paddleSide);
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

// Wall-clock seconds, and the processor seconds of the whole process (the renderer's threads
// included), which other programs on the machine disturb far less.
double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
double processSeconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

double sectionWallStart, sectionProcessStart;
double sectionWall[FRAME_SECTION_COUNT], sectionProcess[FRAME_SECTION_COUNT];

void startSection() {
    sectionWallStart = wallSeconds();
    sectionProcessStart = processSeconds();
}

void timeSection(FrameSection section) {
    glFinish();
    double wall = wallSeconds(), process = processSeconds();
    sectionWall[section] += wall - sectionWallStart;
    sectionProcess[section] += process - sectionProcessStart;
    sectionWallStart = wall, sectionProcessStart = process;
}

void SceneFrame(benchmark::State& state) {
    if (!startScene()) {
        state.SkipWithError("needs a display and the run folder as the working folder");
        return;
    }
    paddlerShown = state.range(0) != 0;
    int width = static_cast<int>(state.range(1)), height = width * 4 / 5;
    setWindowSize(width, height);
    double oceanWall = 0.0, oceanProcess = 0.0;
    for (int s = 0; s < FRAME_SECTION_COUNT; s++)
        sectionWall[s] = sectionProcess[s] = 0.0;
    frameSectionDone = timeSection;
    for (auto _ : state) {
        // The canoe keeps its place while the paddler strokes, so every frame shows the same view.
        sceneMatrix = startPlacement;
        startSection();
        stepOcean();
        oceanWall += wallSeconds() - sectionWallStart;
        oceanProcess += processSeconds() - sectionProcessStart;
        startSection();
        displayFrame();
    }
    frameSectionDone = [](FrameSection) {};
    paddlerShown = true;
    // Milliseconds a frame: wall clock under each section's name, the process's processor time under
    // the name with "_cpu"; "rest" is the clear, the swap and the ocean's step.
    const double oceanTimes[2] = {oceanWall, oceanProcess};
    const double* times[2] = {sectionWall, sectionProcess};
    for (int kind = 0; kind < 2; kind++) {
        const double* t = times[kind];
        std::string suffix = kind ? "_cpu" : "";
        auto report = [&](const char* name, double seconds) {
            state.counters[name + suffix] =
                benchmark::Counter(seconds * 1000.0, benchmark::Counter::kAvgIterations);
        };
        report("update", t[FRAME_UPDATE]);
        report("water", t[FRAME_WATER]);
        report("canoe", t[FRAME_CANOE]);
        report("paddler", t[FRAME_PADDLER]);
        report("sky", t[FRAME_SKY]);
        report("mask", t[FRAME_HULL_MASK]);
        report("rest", t[FRAME_CLEAR] + t[FRAME_SWAP] + oceanTimes[kind]);
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
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
