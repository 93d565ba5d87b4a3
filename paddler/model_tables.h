// The per-model tables built at start-up for drawing: texture slots, one draw record per face and
// one skin vertex per mesh vertex, for the paddler and for the paddle; and their loading order.
#pragma once

#include "paddler/model_file.h"
#include "paddler/skinning.h"

#include <cstdint>

const int PADDLER_TEXTURE_SLOTS = 20;
const int PADDLE_TEXTURE_SLOTS = 1;
const int PADDLER_MIN_BONES = 42; // the paddle is held by bones 22 and 41

struct TextureSlot {
    uint32_t textureId = 0; // GL name; (uint32_t)-1 marks a failed TGA load
    uint32_t zero = 0;
    uint16_t imageId = 0;
};

struct TriangleDrawRecord {
    uint32_t rigid = 0; // all three corners on one and the same bone alone (paddler only)
    float ambient[4] = {0}, diffuse[4] = {0}, specular[4] = {0};
    float shininess = 0;
    uint32_t reloadMatrix = 0; // corner bones differ from the last face that set this (paddler only)
    uint32_t hasTexture = 0;
    uint32_t alphaTested = 0; // the texture's path ends in ".tga"
    uint32_t textureId = 0;
    uint32_t vertex[3] = {0, 0, 0};
};

// One loaded model with its drawing tables.
struct ModelTables {
    ModelTables() {}
    ModelTables(const ModelTables&) = delete;
    ModelTables& operator=(const ModelTables&) = delete;
    ~ModelTables() {
        delete[] records;
        delete[] skin;
    }
    Model model;
    int32_t vertexCount = 0, faceCount = 0; // 0 until the model has loaded
    TriangleDrawRecord* records = nullptr;
    SkinVertex* skin = nullptr;
    TextureSlot slots[PADDLER_TEXTURE_SLOTS];
    int slotCount = 0; // size of this model's slot table
};

extern ModelTables paddler;
extern ModelTables paddle;
extern BinaryReadFile paddlerModelFile; // "K.man", opened before main runs
extern BinaryReadFile paddleModelFile;  // "K.pad"

// Load the model from the file and allocate its draw records; false (counts left at 0) when the file
// is not open or the model is refused, with a message naming the file.
bool loadPaddlerModel(BinaryFile& file);
bool loadPaddleModel(BinaryFile& file);

// Allocates the skin vertices (rest positions, unweighted) and fills the texture and vertex fields of
// every draw record.
void buildFaceRecords(ModelTables& tables);
// Packed colour (red in the lowest byte, alpha in the highest) to four floats of byte / 255.
void unpackColour(uint32_t packed, float rgba[4]);
// Colours from each face's material: for every face, or (paddler) only where the material changes.
void applyMaterials(ModelTables& tables, bool everyFace);

// Texture loaders; the program passes the GL ones, tests pass stand-ins.
typedef unsigned int (*BmpTextureLoader)(const char* path);
typedef int (*TgaTextureLoader)(const char* path);
// Paddler: ".bmp" and ".tga" paths fill their slots ("bad tga" for a refused TGA); others are skipped.
void fillPaddlerTextureSlots(ModelTables& tables, BmpTextureLoader bmp, TgaTextureLoader tga);
// Paddle: ".bmp" paths only; any other prints " can't read the paddle texture".
void fillPaddleTextureSlots(ModelTables& tables, BmpTextureLoader bmp);

// The tables of a loaded paddler, in start-up order: skeleton, texture slots, face records, skin
// weights and the blend list, clips, colours and face flags.
void preparePaddler(BmpTextureLoader bmp, TgaTextureLoader tga);
// The same for the paddle: face records, its single-bone weights, its texture, colours on every face.
void preparePaddle(BmpTextureLoader bmp);

// The whole start-up order of both models (needs the GL context for the textures). Without a usable
// paddler nothing else is done; a missing or refused paddle is left empty, with a message.
enum PaddlerStart { PADDLER_READY, PADDLER_MISSING, PADDLER_REFUSED };
PaddlerStart initPaddlerModels();
