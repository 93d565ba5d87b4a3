// Model files for the tests: small drafts through the asset generator's model writer, loaded from the
// scratch folder, and the stand-ins that let a loaded model play without a window.
#pragma once

#include "assets/model_writer.h"
#include "paddler/animation.h"
#include "paddler/frame_update.h"
#include "paddler/model_tables.h"
#include "paddler/skeleton.h"
#include "paddler/strokes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

// A node 'at' from its parent with 'tracks' empty key tracks.
inline DraftNode nodeAt(const std::string& name, float x, float y, float z, std::vector<int> children,
                        int tracks = 1) {
    DraftNode n{name, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}, children, {}};
    n.tracks.resize(tracks);
    return n;
}

// Replaces the skeleton by a chain of 'bones' nodes, each (x, y, z) from its parent.
inline void setChain(DraftModel& m, int bones, int tracks, float x = 0, float y = 1, float z = 0) {
    m.nodes.clear();
    for (int i = 0; i < bones; ++i)
        m.nodes.push_back(nodeAt("node-" + std::to_string(i), x, y, z,
                                 i + 1 < bones ? std::vector<int>{i + 1} : std::vector<int>{}, tracks));
}

inline DraftVertex vertexAt(float x, float y, float z, int bone) {
    return {{x, y, z}, {1, 0, 0}, {uint8_t(bone)}};
}
inline DraftVertex blended(float w0, float w1, float w2, int b0, int b1, int b2) {
    return {{0, 0, 0}, {w0, w1, w2}, {uint8_t(b0), uint8_t(b1), uint8_t(b2)}};
}

inline DraftFace faceOf(int material, int a, int b, int c) {
    DraftFace f{material, {uint16_t(a), uint16_t(b), uint16_t(c)}, {0}, {0}};
    for (int k = 0; k < 3; ++k) {
        f.normal[3 * k + 1] = 1;
        f.uv[2 * k] = 0.1f * k;
        f.uv[2 * k + 1] = 0.2f * k;
    }
    return f;
}

// A small valid model: root -> (A -> (C), B) with one clip, three vertices, one face, one texture.
inline DraftModel smallModel() {
    DraftModel m;
    m.name = "model";
    m.clips = {{"clip", 30.0f, 30}};
    m.nodes = {nodeAt("node-root", 0, 0, 0, {1, 3}), nodeAt("node-A", 1, 0, 0, {2}),
               nodeAt("node-C", 0, 1, 0, {}), nodeAt("node-B", 0, 0, 1, {})};
    m.nodes[0].tracks[0] = {{0, 0.1f, 0.2f, 0.3f}, {30, 0.4f, 0.5f, 0.6f}};
    m.vertices = {vertexAt(0, 0, 0, 1), vertexAt(1, 0, 0, 2), vertexAt(0, 1, 0, 3)};
    m.faces = {faceOf(0, 0, 1, 2)};
    m.textures = {{"tex", 5, "skin.tga"}};
    m.materials = {{"material", 0x80FF4000, 0, 0, 7, {5}}};
    return m;
}

// A model that passes the paddler's checks: a chain of 'bones' bones, each one unit above its parent,
// with 'clips' clips of 'frames' frames at 30 a second and one key per track.
inline DraftModel paddlerShapedModel(int bones = 42, int clips = STROKE_CLIP_COUNT, int frames = 30) {
    DraftModel d = smallModel();
    d.clips.assign(clips, {"clip", 30.0f, frames});
    setChain(d, bones, clips);
    for (DraftNode& n : d.nodes)
        for (auto& track : n.tracks)
            track = {{0, 0, 0, 0}};
    return d;
}

// Writes 'bytes' as the file 'name' in the scratch folder and hands it, open, to 'load' (loadPaddlerModel,
// loadPaddleModel or into(model)); returns what 'load' returns.
template <typename Load> auto loadBytes(const Bytes& bytes, Load load, const std::string& name = "K.man") {
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    BinaryReadFile file(path.c_str());
    return load(file);
}
template <typename Load> auto loadDraft(const DraftModel& d, Load load, const std::string& name = "K.man") {
    return loadBytes(modelFileBytes(d), load, name);
}
inline std::function<int(BinaryFile&)> into(Model& model) {
    return [&model](BinaryFile& f) { return loadModel(model, f); };
}

// Texture loaders for models whose textures are never drawn.
inline const auto noBmpTexture = [](const char*) -> unsigned int { return 0; };
inline const auto noTgaTexture = [](const char*) -> int { return 0; };

inline void expectNear(const Matrix4& a, const Matrix4& b, double tolerance, const std::string& what) {
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(a.m[k], b.m[k], tolerance) << what << " element " << k;
}

// The frame's clock, the canoe's motion and its placement as at start-up.
inline void resetFrameState() {
    frameClock = FrameClock();
    canoeMotion = CanoeMotion();
    sceneMatrix = Matrix4();
}
