// The model file writer of the asset generator: little-endian fields, u32-counted lists, no padding.
#include "assets/model_writer.h"

#include "assets/writers.h"

#include <cstdio>
#include <cstring>

namespace {

struct Out {
    std::vector<unsigned char> bytes;
    void u8(unsigned v) { bytes.push_back(uint8_t(v)); }
    void u16(unsigned v) {
        u8(v & 0xFF);
        u8(v >> 8);
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
    void f32s(const float* f, int n) {
        for (int i = 0; i < n; ++i)
            f32(f[i]);
    }
    void text(const std::string& s, size_t field) {
        for (size_t i = 0; i < field; ++i)
            u8(i < s.size() && i + 1 < field ? (unsigned char)s[i] : 0);
    }
};

void writeNode(Out& o, const DraftModel& m, int index) {
    const DraftNode& n = m.nodes[index];
    o.text(n.name, 64);
    o.u8(index + 1);
    o.f32s(n.rest, 16);
    o.u16(0);
    for (int i = 0; i < 3; ++i)
        o.f64(0);
    o.u32(0); // node pairs
    o.u32(n.children.size());
    for (int c : n.children)
        writeNode(o, m, c);
    o.u32(n.tracks.size());
    for (const std::vector<DraftKey>& track : n.tracks) {
        o.u16(0);
        o.u32(track.size());
        for (const DraftKey& k : track) {
            o.u32(uint32_t(k.frame));
            o.f32(k.x);
            o.f32(k.y);
            o.f32(k.z);
        }
        o.u32(0);
        o.u32(0);
    }
}

} // namespace

uint32_t packColour(int r, int g, int b, int a) {
    return uint32_t(r & 0xFF) | uint32_t(g & 0xFF) << 8 | uint32_t(b & 0xFF) << 16 | uint32_t(a & 0xFF) << 24;
}

std::vector<unsigned char> modelFileBytes(const DraftModel& m) {
    bool newer = m.version >= 0x10002;
    Out o;
    o.u32(m.version);
    for (char c : std::string("arg00"))
        o.u8((unsigned char)c); // five bytes, no terminator
    o.text(m.name, 64);
    o.u32(m.clips.size());
    for (const DraftClip& c : m.clips) {
        o.text(c.name, 64);
        o.u16(0);
        o.f32(c.framesPerSecond);
        o.u8(0);
        o.u32(uint32_t(c.frameCount));
        o.u32(0);
        o.u32(0);
        o.u32(0); // attachments
    }
    o.u32(m.nodes.empty() ? 0 : 1);
    if (!m.nodes.empty()) writeNode(o, m, 0);
    o.u32(m.faces.size());
    for (const DraftFace& f : m.faces) {
        o.u16(0);
        o.u16(uint16_t(int16_t(f.material)));
        if (newer) o.u16(0xFFFF);
        o.u16(0);
        for (uint16_t v : f.vertex)
            o.u16(v);
        o.f32s(f.normal, 9);
        o.f32s(f.uv, 6);
        for (int i = 0; i < (newer ? 9 : 3); ++i)
            o.f32(0);
        for (int i = 0; i < (newer ? 3 : 0); ++i)
            o.u16(0);
    }
    o.u32(m.vertices.size());
    for (const DraftVertex& v : m.vertices) {
        o.f32s(v.position, 3);
        o.f32s(v.weight, 3);
        for (uint8_t b : v.bone)
            o.u8(b);
        o.u8(0);
        o.u16(0);
    }
    o.u32(m.textures.size());
    for (const DraftTexture& t : m.textures) {
        o.text(t.name, 64);
        o.u16(t.imageId);
        o.u32(0);
        o.text(t.path, 1024);
    }
    o.u32(0); // the 70-byte list
    o.u32(m.materials.size());
    for (const DraftMaterial& mat : m.materials) {
        o.text(mat.name, 64);
        o.u16(0);
        o.u32(mat.diffuse);
        o.u32(mat.ambient);
        o.u32(mat.specular);
        o.u32(0);
        o.f32(mat.shininess);
        o.u32(0);
        o.u32(0);
        o.u32(mat.imageIds.size());
        for (uint16_t id : mat.imageIds) {
            o.u16(0);
            o.u16(id);
        }
    }
    if (newer) o.u32(0); // the 66-byte list
    return o.bytes;
}

bool writeModelFile(const std::string& folder, const char* fileName, const DraftModel& m) {
    return writeAssetBytes(folder, fileName, modelFileBytes(m));
}
