// Per-frame work of the paddler: the hierarchy walk with key interpolation over 54 bones, then the
// blending of the multi-bone vertices, on synthetic models of the paddler's size and beyond; and the
// generated paddler's whole frame (walk, blending, the drawing order handed to a renderer that draws
// nothing). Counts heap allocations inside the timed loops (there must be none).
#include "paddler/animation.h"
#include "paddler/frame_update.h"
#include "paddler/model_tables.h"
#include "paddler/paddler_frame.h"
#include "paddler/skeleton.h"
#include "paddler/skinning.h"
#include "paddler/strokes.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>
#include <string>

static std::atomic<long> allocations{0};
void* operator new(size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

// The paddler's skeleton shape: legs, spine, head, two arms with four three-segment fingers each.
const int BONES = 54, CLIPS = 27, KEYS = 17, FRAMES = 48;
int parentOf[BONES];

void makeParents() {
    auto chain = [](int first, int count, int parent) {
        for (int i = 0; i < count; ++i)
            parentOf[first + i] = i == 0 ? parent : first + i - 1;
    };
    parentOf[0] = -1;
    chain(1, 4, 0);
    chain(5, 4, 0);
    chain(9, 4, 0); // spine, upper spine, chest, neck
    chain(13, 1, 12);
    parentOf[14] = parentOf[15] = 13;
    for (int arm : {16, 35}) {
        chain(arm, 7, 11);
        for (int g = 0; g < 4; ++g)
            chain(arm + 7 + 3 * g, 3, arm + 6);
    }
}

std::mt19937 random(11);

void fillNode(SkeletonNode& node, int index) {
    node.id = uint8_t(index + 1);
    for (int k = 0; k < 16; ++k)
        node.restMatrix[k] = k % 5 == 0 ? 1.0f : 0.0f;
    node.restMatrix[13] = 2.0f;
    std::uniform_real_distribution<float> angle(-0.5f, 0.5f);
    node.trackCount = CLIPS;
    node.tracks = new RotationTrack[CLIPS];
    for (int c = 0; c < CLIPS; ++c) {
        RotationTrack& t = node.tracks[c];
        t.keyCount = KEYS;
        t.keys = new RotationKey[KEYS];
        for (int k = 0; k < KEYS; ++k)
            t.keys[k] = RotationKey{k * FRAMES / (KEYS - 1), angle(random), angle(random), angle(random)};
    }
    int children[BONES], n = 0;
    for (int j = 0; j < BONES; ++j)
        if (parentOf[j] == index) children[n++] = j;
    node.childCount = n;
    node.children = n ? new SkeletonNode[n] : nullptr;
    for (int c = 0; c < n; ++c)
        fillNode(node.children[c], children[c]);
}

void PaddlerFrame(benchmark::State& state) {
    int vertexCount = int(state.range(0)), blended = int(state.range(1));
    makeParents();
    static SkeletonNode root;
    static AnimationClip clips[CLIPS];
    if (!root.tracks) fillNode(root, 0);
    for (AnimationClip& c : clips) {
        c.framesPerSecond = 30;
        c.frameCount = FRAMES;
    }
    setupSkeleton(&root);
    paddlerClips = clips;
    paddlerClipCount = CLIPS;
    resetStrokes(SIDE_CLIPS[1].idle, 1);
    startAnimation();
    SkinVertex* skin = new SkinVertex[vertexCount];
    static BlendList list;
    list.count = 0;
    std::uniform_real_distribution<double> unit(0, 1);
    for (int v = 0; v < vertexCount; ++v) {
        SkinVertex& s = skin[v];
        s.restPosition = Vec3(unit(random) * 40 - 20, unit(random) * 60, unit(random) * 20 - 10);
        s.restNormal = Vec3(0, 1, 0);
        s.bindingType = v < blended ? (v % 3 == 0 ? 3 : 2) : 1;
        for (int j = 0; j < 3; ++j) {
            s.boneId[j] = 1 + (v * 7 + j * 13) % BONES;
            s.boneWeight[j] = 1.0 / s.bindingType;
        }
        if (v < blended) list.vertex[list.count++] = v;
    }
    long before = allocations.load();
    for (auto _ : state) {
        setClipElapsed(std::fmod(clipClock.clipElapsed + 1.0 / 60, clipClock.clipDuration));
        updateHierarchy();
        skinVertices(skin, list, bones);
        benchmark::DoNotOptimize(skin[0].skinnedPosition);
    }
    state.counters["allocations"] = double(allocations.load() - before);
    state.counters["blended"] = list.count;
    delete[] skin;
}

} // namespace

// The hierarchy alone; the generated paddler (about 2900 vertices, 1400 blended); denser meshes on the same
// skeleton, up to a full blend list.
BENCHMARK(PaddlerFrame)->Args({1, 0})->Args({2932, 1358})->Args({4000, 1500})->Args({10000, 10000});

namespace {

void noMatrix(const Matrix4&) {}
void noMaterial(const TriangleDrawRecord&) {}
void noTexture(bool, uint32_t) {}
void noSwitch(bool) {}
long trianglesHanded = 0;
void countTriangle(const SkinVertex* const[3], bool) {
    ++trianglesHanded;
}
void noFinish() {}
unsigned int noBmp(const char*) {
    return 0;
}
int noTga(const char*) {
    return 0;
}

// The generated "K.man" in its forward stroke: 0 the walk alone, 1 with the skinning, 2 the whole update
// step and the frame handed to a renderer.
void GeneratedPaddlerFrame(benchmark::State& state) {
    BinaryReadFile file((std::string(CANOE_RUN_DIR) + "/K.man").c_str());
    if (!loadPaddlerModel(file)) {
        state.SkipWithError("no generated K.man in the run folder");
        return;
    }
    preparePaddler(noBmp, noTga);
    BinaryReadFile paddleFile((std::string(CANOE_RUN_DIR) + "/K.pad").c_str());
    loadPaddleModel(paddleFile);
    preparePaddle(noBmp);
    frameClock = FrameClock();
    startClipAfresh(SIDE_CLIPS[1].forward, 1);
    const PaddlerRenderer renderer = {noMatrix, noMaterial, noTexture, noSwitch, countTriangle, noFinish};
    Matrix4 placement;
    long before = allocations.load();
    trianglesHanded = 0;
    double now = 0;
    for (auto _ : state) {
        now += 1.0 / 10;
        if (state.range(0) == 2) {
            updateFrame(now);
            drawPaddlerFrame(placement, renderer);
        } else {
            setClipElapsed(std::fmod(now, clipClock.clipDuration));
            updateHierarchy();
            if (state.range(0) == 1) skinModel(paddler, blendList, bones);
        }
        benchmark::DoNotOptimize(paddler.skin[0].skinnedPosition);
    }
    state.counters["allocations"] = double(allocations.load() - before);
    state.counters["triangles"] = double(trianglesHanded) / double(state.iterations());
    state.counters["blended"] = blendList.count;
}

} // namespace

BENCHMARK(GeneratedPaddlerFrame)->ArgName("part")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
