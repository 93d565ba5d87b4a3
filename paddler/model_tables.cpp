// Loading the paddler and the paddle and building their texture slots, draw records and colours.
#include "paddler/model_tables.h"

#include "paddler/animation.h"
#include "paddler/skeleton.h"
#include "paddler/strokes.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

ModelTables paddler;
ModelTables paddle;
BinaryReadFile paddlerModelFile("K.man");
BinaryReadFile paddleModelFile("K.pad");

namespace {

void resetTables(ModelTables& t, int slotCount) {
    clearModel(t.model);
    delete[] t.records;
    delete[] t.skin;
    t.records = nullptr;
    t.skin = nullptr;
    t.vertexCount = t.faceCount = 0;
    for (TextureSlot& s : t.slots)
        s = TextureSlot();
    t.slotCount = slotCount;
}

bool refuse(const BinaryFile& file, const char* problem) {
    std::printf("%s: %s\n", file.name(), problem);
    return false;
}

// What the animation and the strokes index without checking: clips, tracks, keys and bindings.
bool checkPaddler(BinaryFile& file, const Model& m) {
    char problem[160];
    if (m.rootCount == 0) return refuse(file, "the model has no skeleton");
    int bones = countTreeNodes(m.roots[0]);
    if (bones < PADDLER_MIN_BONES) {
        std::snprintf(problem, sizeof problem, "%d bones, the paddle needs at least %d", bones,
                      PADDLER_MIN_BONES);
        return refuse(file, problem);
    }
    if (m.clipCount < STROKE_CLIP_COUNT) {
        std::snprintf(problem, sizeof problem, "%d clips, the strokes need %d", m.clipCount,
                      STROKE_CLIP_COUNT);
        return refuse(file, problem);
    }
    for (int c = 0; c < m.clipCount; ++c) {
        const AnimationClip& clip = m.clips[c];
        if (!(clip.framesPerSecond > 0 && clip.framesPerSecond < 1e6f) || clip.frameCount <= 0) {
            std::snprintf(problem, sizeof problem, "clip %d has no length", c);
            return refuse(file, problem);
        }
    }
    if (m.textureCount > PADDLER_TEXTURE_SLOTS) {
        std::snprintf(problem, sizeof problem, "%d textures, room for %d", m.textureCount,
                      PADDLER_TEXTURE_SLOTS);
        return refuse(file, problem);
    }
    // Every bone of the tree needs one track per clip, keys in rising frame order.
    const SkeletonNode* stack[256];
    int top = 0;
    stack[top++] = &m.roots[0];
    while (top > 0) {
        const SkeletonNode* node = stack[--top];
        if (node->trackCount != m.clipCount) {
            std::snprintf(problem, sizeof problem, "bone %d has %d key tracks for %d clips", node->id,
                          node->trackCount, m.clipCount);
            return refuse(file, problem);
        }
        for (float f : node->restMatrix)
            if (!std::isfinite(f)) {
                std::snprintf(problem, sizeof problem, "bone %d has a rest matrix that is not a number",
                              node->id);
                return refuse(file, problem);
            }
        for (int c = 0; c < node->trackCount; ++c)
            for (int k = 0; k < node->tracks[c].keyCount; ++k) {
                const RotationKey& key = node->tracks[c].keys[k];
                if (!std::isfinite(key.angleX) || !std::isfinite(key.angleY) || !std::isfinite(key.angleZ)) {
                    std::snprintf(problem, sizeof problem, "bone %d, clip %d: a key angle is not a number",
                                  node->id, c);
                    return refuse(file, problem);
                }
                if (k > 0 && key.frame <= node->tracks[c].keys[k - 1].frame) {
                    std::snprintf(problem, sizeof problem, "bone %d, clip %d: key frames do not rise",
                                  node->id, c);
                    return refuse(file, problem);
                }
            }
        for (int i = 0; i < node->childCount && top < 256; ++i)
            stack[top++] = &node->children[i];
    }
    // Bindings: bone 0 in a slot that the binding uses would index before the bone array.
    int blended = 0;
    SkinVertex* seen = new SkinVertex[m.vertexCount > 0 ? m.vertexCount : 1];
    bool ok = true;
    for (int f = 0; f < m.faceCount && ok; ++f) {
        for (int k = 0; k < 3 && ok; ++k) {
            int v = m.faces[f].vertexIndex[k];
            if (seen[v].weighted) continue;
            seen[v].weighted = 1;
            bindPaddlerVertex(m.vertices[v], seen[v]);
            for (uint32_t j = 0; j < seen[v].bindingType; ++j)
                if (seen[v].boneId[j] == 0) {
                    std::snprintf(problem, sizeof problem, "vertex %d is bound to bone 0", v);
                    ok = refuse(file, problem);
                }
            if (seen[v].bindingType >= 2 && ++blended > BLEND_LIST_CAPACITY)
                ok = refuse(file, "more than 10000 blended vertices");
        }
    }
    delete[] seen;
    return ok;
}

bool checkedLoad(ModelTables& t, BinaryFile& file, int slotCount, bool isPaddler) {
    if (loadModel(t.model, file) != 0) return false;
    if (isPaddler && !checkPaddler(file, t.model)) return false;
    if (!isPaddler && t.model.textureCount > slotCount) return refuse(file, "more than one texture");
    t.records = new (std::nothrow) TriangleDrawRecord[t.model.faceCount > 0 ? t.model.faceCount : 1];
    return t.records ? true : refuse(file, "out of memory");
}

// A refused model is dropped whole, so that nothing of it (textures included) reaches the tables.
bool loadInto(ModelTables& t, BinaryFile& file, int slotCount, bool isPaddler) {
    resetTables(t, slotCount);
    if (!file.isOpen()) return false;
    if (!checkedLoad(t, file, slotCount, isPaddler)) {
        resetTables(t, slotCount);
        return false;
    }
    t.vertexCount = t.model.vertexCount;
    t.faceCount = t.model.faceCount;
    return true;
}

} // namespace

bool loadPaddlerModel(BinaryFile& file) {
    return loadInto(paddler, file, PADDLER_TEXTURE_SLOTS, true);
}
bool loadPaddleModel(BinaryFile& file) {
    return loadInto(paddle, file, PADDLE_TEXTURE_SLOTS, false);
}

void buildFaceRecords(ModelTables& t) {
    delete[] t.skin;
    t.skin = new SkinVertex[t.vertexCount > 0 ? t.vertexCount : 1];
    for (int v = 0; v < t.vertexCount; ++v) {
        const float* p = t.model.vertices[v].position;
        t.skin[v].restPosition = Vec3(p[0], p[1], p[2]);
        t.skin[v].weighted = 0;
    }
    int slots = t.model.textureCount < t.slotCount ? t.model.textureCount : t.slotCount;
    for (int i = 0; i < t.faceCount; ++i) {
        const MeshFace& f = t.model.faces[i];
        const MeshMaterial& m = t.model.materials[f.materialIndex];
        TriangleDrawRecord& r = t.records[i];
        r.hasTexture = 0;
        r.alphaTested = 0;
        // The last matching (layer, slot) pair wins.
        for (int l = 0; l < m.layerCount; ++l)
            for (int s = 0; s < slots; ++s)
                if (t.slots[s].imageId == m.layers[l].imageId) {
                    r.textureId = t.slots[s].textureId;
                    r.hasTexture = 1;
                    r.alphaTested = pathEndsWith(t.model.textures[s].path, ".tga") ? 1 : 0;
                }
        for (int k = 0; k < 3; ++k)
            r.vertex[k] = f.vertexIndex[k];
    }
}

void unpackColour(uint32_t packed, float rgba[4]) {
    for (int i = 0; i < 4; ++i)
        rgba[i] = float(((packed >> (8 * i)) & 0xFF) / 255.0);
}

void applyMaterials(ModelTables& t, bool everyFace) {
    for (int i = 0; i < t.faceCount; ++i) {
        int material = t.model.faces[i].materialIndex;
        if (!everyFace && i > 0 && material == t.model.faces[i - 1].materialIndex) continue;
        const MeshMaterial& m = t.model.materials[material];
        TriangleDrawRecord& r = t.records[i];
        unpackColour(m.diffuse, r.diffuse);
        unpackColour(m.ambient, r.ambient);
        unpackColour(m.specular, r.specular);
        r.shininess = m.shininess;
    }
}

void fillPaddlerTextureSlots(ModelTables& t, BmpTextureLoader bmp, TgaTextureLoader tga) {
    for (int i = 0; i < t.model.textureCount && i < t.slotCount; ++i) {
        const MeshTexture& texture = t.model.textures[i];
        if (pathEndsWith(texture.path, ".bmp")) {
            t.slots[i].textureId = bmp(texture.path);
            t.slots[i].imageId = texture.imageId;
        } else if (pathEndsWith(texture.path, ".tga")) {
            int name = tga(texture.path);
            t.slots[i].textureId = uint32_t(name);
            t.slots[i].imageId = texture.imageId;
            if (name == -1) std::printf("bad tga\n");
        }
    }
}

void fillPaddleTextureSlots(ModelTables& t, BmpTextureLoader bmp) {
    for (int i = 0; i < t.model.textureCount && i < t.slotCount; ++i) {
        const MeshTexture& texture = t.model.textures[i];
        if (pathEndsWith(texture.path, ".bmp")) {
            t.slots[i].textureId = bmp(texture.path);
            t.slots[i].imageId = texture.imageId;
        } else {
            std::printf(" can't read the paddle texture\n");
        }
    }
}

void preparePaddler(BmpTextureLoader bmp, TgaTextureLoader tga) {
    setupSkeleton(&paddler.model.roots[0]);
    fillPaddlerTextureSlots(paddler, bmp, tga);
    buildFaceRecords(paddler);
    weightPaddlerSkin(paddler, blendList);
    paddlerClipCount = paddler.model.clipCount;
    paddlerClips = paddler.model.clips;
    applyMaterials(paddler, false);
    markFaceBindings(paddler);
}

void preparePaddle(BmpTextureLoader bmp) {
    buildFaceRecords(paddle);
    weightPaddleSkin(paddle);
    fillPaddleTextureSlots(paddle, bmp);
    applyMaterials(paddle, true);
}
