// Writes model files ("K.man", "K.pad") from a draft held in plain vectors: header, clips, the
// skeleton tree with one key track per clip, faces, vertices, textures, materials.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DraftKey {
    int frame;
    float x, y, z; // radians; the rotation is Rz * Ry * Rx
};

// Nodes are listed in pre-order; node 0 is the one root, and a node's id is its index + 1.
struct DraftNode {
    std::string name;
    float rest[16]; // relative to the parent, column-major
    std::vector<int> children;
    std::vector<std::vector<DraftKey>> tracks; // one per clip
};

struct DraftClip {
    std::string name;
    float framesPerSecond;
    int frameCount;
};

struct DraftFace {
    int material;
    uint16_t vertex[3];
    float normal[9];
    float uv[6];
};

struct DraftVertex {
    float position[3];
    float weight[3];
    uint8_t bone[3]; // 1-based ids
};

struct DraftTexture {
    std::string name;
    uint16_t imageId;
    std::string path;
};

struct DraftMaterial {
    std::string name;
    uint32_t diffuse, ambient, specular; // packed, red in the lowest byte
    float shininess;
    std::vector<uint16_t> imageIds; // one layer each
};

struct DraftModel {
    uint32_t version = 0x10002; // 0x10001: the older layout (84-byte faces, no trailing list)
    std::string name;
    std::vector<DraftClip> clips;
    std::vector<DraftNode> nodes;
    std::vector<DraftFace> faces;
    std::vector<DraftVertex> vertices;
    std::vector<DraftTexture> textures;
    std::vector<DraftMaterial> materials;
};

// The whole file in the model's layout.
std::vector<unsigned char> modelFileBytes(const DraftModel& model);
// Writes 'folder/fileName' (modelFileBytes); false after a message when it can't be written.
bool writeModelFile(const std::string& folder, const char* fileName, const DraftModel& model);

// Packs red, green, blue, alpha bytes into a model colour.
uint32_t packColour(int r, int g, int b, int a = 255);
