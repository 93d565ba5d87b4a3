// Test-side writer of small model files, field by field as the format lays them out, so that tests can
// build (and damage) exactly the bytes they need.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

struct Bytes {
    std::vector<unsigned char> data;
    void u8(unsigned v) { data.push_back((unsigned char)v); }
    void u16(unsigned v) {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void f32(float f) {
        uint32_t v;
        std::memcpy(&v, &f, 4);
        u32(v);
    }
    void f64(double d) {
        uint64_t v;
        std::memcpy(&v, &d, 8);
        u32(uint32_t(v));
        u32(uint32_t(v >> 32));
    }
    // A fixed field; 'terminate' false fills it without a NUL.
    void field(const std::string& s, size_t size, bool terminate = true) {
        for (size_t i = 0; i < size; ++i)
            u8(i < s.size() ? s[i] : (terminate ? 0 : 'x'));
        if (terminate) data[data.size() - 1] = 0;
    }
};

struct TKey {
    int frame;
    float x, y, z;
};

struct TNode {
    int id;
    float tx = 0, ty = 0, tz = 0;
    std::vector<TNode> children;
    std::vector<std::vector<TKey>> tracks;
    int pairs = 0;
};

struct TFace {
    int material;
    int v[3];
    float normal[9];
    float uv[6];
};

struct TVertex {
    float p[3];
    float w[3];
    int bone[3];
};

struct TTexture {
    int imageId;
    std::string path;
};

struct TMaterial {
    uint32_t diffuse = 0, ambient = 0, specular = 0;
    float shininess = 0;
    std::vector<int> layers;
};

struct TModel {
    uint32_t version = 0x10002;
    std::string magic = "arg00";
    std::vector<std::pair<float, int>> clips; // frames per second, frame count
    std::vector<TNode> roots;
    std::vector<TFace> faces;
    std::vector<TVertex> vertices;
    std::vector<TTexture> textures;
    int labels = 0;
    std::vector<TMaterial> materials;
    int trailers = 0;
    bool terminateNames = true;
};

inline void writeNode(Bytes& b, const TModel& m, const TNode& n) {
    b.field("node", 64, m.terminateNames);
    b.u8(n.id);
    float rest[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, n.tx, n.ty, n.tz, 1};
    for (float f : rest)
        b.f32(f);
    b.u16(0);
    for (int i = 0; i < 3; ++i)
        b.f64(0.5);
    b.u32(n.pairs);
    for (int i = 0; i < n.pairs; ++i) {
        b.field("a", 64);
        b.field("b", 64);
    }
    b.u32(n.children.size());
    for (const TNode& c : n.children)
        writeNode(b, m, c);
    b.u32(n.tracks.size());
    for (const auto& t : n.tracks) {
        b.u16(7);
        b.u32(t.size());
        for (const TKey& k : t) {
            b.u32(uint32_t(k.frame));
            b.f32(k.x);
            b.f32(k.y);
            b.f32(k.z);
        }
        b.u32(1); // an unused key list with one key
        b.u32(0);
        b.f32(1);
        b.f32(2);
        b.f32(3);
        b.u32(0);
    }
}

inline Bytes serialise(const TModel& m) {
    Bytes b;
    b.u32(m.version);
    for (char c : m.magic)
        b.u8(c);
    b.field("model", 64, m.terminateNames);
    b.u32(m.clips.size());
    for (auto& c : m.clips) {
        b.field("clip", 64);
        b.u16(0);
        b.f32(c.first);
        b.u8(0);
        b.u32(uint32_t(c.second));
        b.u32(0);
        b.u32(0);
        b.u32(1); // one attachment
        b.field("att", 64);
        b.u32(5);
        b.field("att.path", 256);
    }
    b.u32(m.roots.size());
    for (const TNode& r : m.roots)
        writeNode(b, m, r);
    bool newer = m.version >= 0x10002;
    b.u32(m.faces.size());
    for (const TFace& f : m.faces) {
        b.u16(0);
        b.u16(uint16_t(int16_t(f.material)));
        if (newer) b.u16(0x1234);
        b.u16(0);
        for (int v : f.v)
            b.u16(v);
        for (float n : f.normal)
            b.f32(n);
        for (float t : f.uv)
            b.f32(t);
        for (int i = 0; i < (newer ? 9 : 3); ++i)
            b.f32(0);
        if (newer)
            for (int i = 0; i < 3; ++i)
                b.u16(0);
    }
    b.u32(m.vertices.size());
    for (const TVertex& v : m.vertices) {
        for (float p : v.p)
            b.f32(p);
        for (float w : v.w)
            b.f32(w);
        for (int k : v.bone)
            b.u8(k);
        b.u8(0);
        b.u16(0);
    }
    b.u32(m.textures.size());
    for (const TTexture& t : m.textures) {
        b.field("tex", 64);
        b.u16(t.imageId);
        b.u32(0xDEADBEEF);
        b.field(t.path, 1024, m.terminateNames);
    }
    b.u32(m.labels);
    for (int i = 0; i < m.labels; ++i) {
        b.field("label", 64);
        b.u16(1);
        b.u32(2);
    }
    b.u32(m.materials.size());
    for (const TMaterial& mat : m.materials) {
        b.field("mat", 64);
        b.u16(3);
        b.u32(mat.diffuse);
        b.u32(mat.ambient);
        b.u32(mat.specular);
        b.u32(0);
        b.f32(mat.shininess);
        b.u32(0);
        b.u32(0);
        b.u32(mat.layers.size());
        for (int id : mat.layers) {
            b.u16(0);
            b.u16(id);
        }
    }
    if (newer) {
        b.u32(m.trailers);
        for (int i = 0; i < m.trailers; ++i) {
            b.field("trailer", 64);
            b.u16(9);
        }
    }
    return b;
}

// Writes the bytes to a fresh file in the test temp folder and returns its path.
inline std::string writeTempFile(const std::string& name, const std::vector<unsigned char>& data) {
    std::string path = testing::TempDir() + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        if (!data.empty()) std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }
    return path;
}

inline TVertex vertexAt(float x, float y, float z, int bone) {
    return TVertex{{x, y, z}, {1, 0, 0}, {bone, 0, 0}};
}

inline TFace faceOf(int material, int a, int b, int c) {
    TFace f{material, {a, b, c}, {0}, {0}};
    for (int k = 0; k < 3; ++k) {
        f.normal[3 * k + 1] = 1;
        f.uv[2 * k] = 0.1f * k;
        f.uv[2 * k + 1] = 0.2f * k;
    }
    return f;
}

// A small valid model: root -> (A -> (C), B) with one clip, three vertices, one face, one texture.
inline TModel smallModel() {
    TModel m;
    m.clips = {{30.0f, 30}};
    TNode c{3, 0, 1, 0, {}, {{}}};
    TNode a{2, 1, 0, 0, {c}, {{}}};
    TNode b{4, 0, 0, 1, {}, {{}}};
    TNode root{1, 0, 0, 0, {a, b}, {{{0, 0.1f, 0.2f, 0.3f}, {30, 0.4f, 0.5f, 0.6f}}}};
    m.roots = {root};
    m.vertices = {vertexAt(0, 0, 0, 1), vertexAt(1, 0, 0, 2), vertexAt(0, 1, 0, 3)};
    m.faces = {faceOf(0, 0, 1, 2)};
    m.textures = {{5, "skin.tga"}};
    TMaterial mat;
    mat.diffuse = 0x80FF4000;
    mat.shininess = 7;
    mat.layers = {5};
    m.materials = {mat};
    m.labels = 1;
    m.trailers = 2;
    return m;
}
