// The binary model files "K.man" and "K.pad": the file object they are read through, the in-memory
// Model (clips, skeleton tree with key tracks, mesh, textures, materials) and its reader.
#pragma once

#include <cstdint>
#include <cstdio>

const uint32_t MODEL_VERSION_NEWEST = 0x10002; // newer face layout and the trailing list
const int MODEL_NAME_SIZE = 64;
const int MAX_TRACK_KEYS = 20;      // room in a bone's key-time table
const int MAX_SKELETON_DEPTH = 255; // node ids are one byte, so no valid tree is deeper

// A C stream with virtual operations; opens only for a non-empty name. Keeps the name for messages.
class BinaryFile {
  public:
    BinaryFile(const char* fileName, const char* mode);
    virtual ~BinaryFile();
    virtual bool isOpen() const;
    virtual int close();
    virtual size_t read(void* buffer, size_t count);
    virtual size_t write(const void* buffer, size_t count);
    virtual int seek(long offset, int origin);
    virtual long tell();
    virtual long size();
    const char* name() const { return fileName; }

  protected:
    bool ownsStream = true;
    FILE* stream = nullptr;
    char fileName[256] = {0};
};

// Read-only ("rb"); writing is refused.
class BinaryReadFile : public BinaryFile {
  public:
    explicit BinaryReadFile(const char* fileName) : BinaryFile(fileName, "rb") {}
    size_t write(const void*, size_t) override { return 0; }
};

struct RotationKey {
    int32_t frame = 0;
    float angleX = 0, angleY = 0, angleZ = 0; // radians; the rotation is Rz * Ry * Rx
};

// One bone's keys for one clip. Only the first key list is used; the other two are kept as read.
struct RotationTrack {
    virtual ~RotationTrack();
    uint16_t unused = 0;
    int32_t keyCount = 0;
    RotationKey* keys = nullptr;
    int32_t secondKeyCount = 0;
    RotationKey* secondKeys = nullptr;
    int32_t thirdKeyCount = 0;
    RotationKey* thirdKeys = nullptr;
};

struct ClipAttachment {
    virtual ~ClipAttachment() {}
    char name[MODEL_NAME_SIZE] = {0};
    uint32_t unused = 0;
    char path[256] = {0};
};

struct AnimationClip {
    virtual ~AnimationClip();
    char name[MODEL_NAME_SIZE] = {0};
    uint16_t unused16 = 0;
    float framesPerSecond = 0;
    uint8_t unused8 = 0;
    int32_t frameCount = 0;
    uint32_t unusedA = 0, unusedB = 0;
    int32_t attachmentCount = 0;
    ClipAttachment* attachments = nullptr;
};

struct NodePair {
    virtual ~NodePair() {}
    char first[MODEL_NAME_SIZE] = {0};
    char second[MODEL_NAME_SIZE] = {0};
};

struct SkeletonNode {
    virtual ~SkeletonNode();
    char name[MODEL_NAME_SIZE] = {0};
    uint8_t id = 0;             // 1-based pre-order number of the node
    float restMatrix[16] = {0}; // relative to the parent, column-major
    uint16_t unused16 = 0;
    double unusedDoubles[3] = {0, 0, 0};
    int32_t pairCount = 0;
    NodePair* pairs = nullptr;
    int32_t childCount = 0;
    SkeletonNode* children = nullptr;
    int32_t trackCount = 0; // one per clip, in clip order
    RotationTrack* tracks = nullptr;
};

struct MeshFace {
    uint16_t unused0 = 0;
    int16_t materialIndex = -1;
    uint16_t unused4 = 0xFFFF; // absent in the older layout
    uint16_t unused6 = 0xFFFF;
    uint16_t vertexIndex[3] = {0, 0, 0};
    float cornerNormal[9] = {0};
    float cornerUV[6] = {0};
    float unusedA[3] = {0}, unusedB[3] = {0}, unusedC[3] = {0};
    uint16_t unusedD[3] = {0};
};

struct MeshVertex {
    float position[3] = {0};
    float weight[3] = {0};
    uint8_t bone[4] = {0}; // 1-based bone ids; 0 in slot 1 or 2 means no bone
    uint16_t unused = 0;
};

struct MeshTexture {
    virtual ~MeshTexture() {}
    char name[MODEL_NAME_SIZE] = {0};
    uint16_t imageId = 0;
    uint8_t skipped[4] = {0};
    char path[1024] = {0};
};

struct ModelLabel { // the 70-byte list
    virtual ~ModelLabel() {}
    char name[MODEL_NAME_SIZE] = {0};
    uint16_t unused16 = 0;
    uint32_t unused32 = 0;
};

struct ModelTrailer { // the 66-byte list of the newest version
    virtual ~ModelTrailer() {}
    char name[MODEL_NAME_SIZE] = {0};
    uint16_t unused16 = 0;
};

struct MaterialLayer {
    virtual ~MaterialLayer() {}
    uint16_t unused = 0;
    uint16_t imageId = 0;
};

struct MeshMaterial {
    virtual ~MeshMaterial();
    char name[MODEL_NAME_SIZE] = {0};
    uint16_t materialId = 0;
    uint32_t diffuse = 0, ambient = 0, specular = 0; // packed: red in the lowest byte, alpha highest
    uint32_t unusedA = 0;
    float shininess = 0;
    uint32_t unusedB = 0, skipped = 0;
    int32_t layerCount = 0;
    MaterialLayer* layers = nullptr;
};

struct Model {
    Model() {}
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;
    virtual ~Model();
    uint32_t version = MODEL_VERSION_NEWEST;
    char name[MODEL_NAME_SIZE] = {0};
    int32_t clipCount = 0;
    AnimationClip* clips = nullptr;
    int32_t rootCount = 0;
    SkeletonNode* roots = nullptr;
    int32_t vertexCount = 0;
    MeshVertex* vertices = nullptr;
    int32_t faceCount = 0;
    MeshFace* faces = nullptr;
    int32_t textureCount = 0;
    MeshTexture* textures = nullptr;
    int32_t labelCount = 0;
    ModelLabel* labels = nullptr;
    int32_t trailerCount = 0;
    ModelTrailer* trailers = nullptr;
    int32_t materialCount = 0;
    MeshMaterial* materials = nullptr;
};

// Releases every array of the model and returns it to its freshly constructed state.
void clearModel(Model& model);

// Reads a whole model; 0 on success, 1 after a message naming the file when the file is short,
// damaged or inconsistent (the model then keeps what was read).
int loadModel(Model& model, BinaryFile& file);

// Number of nodes in the tree under 'node' (the node included).
int countTreeNodes(const SkeletonNode& node);

// True when 'path' ends in 'suffix' (case-sensitive); shorter paths end in nothing.
bool pathEndsWith(const char* path, const char* suffix);
