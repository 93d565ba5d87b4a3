// The model file reader: one read per field, little-endian, every list a u32 count and its elements.
// The file is untrusted: short reads, impossible counts and dangling indices refuse the model.
#include "paddler/model_file.h"

#include <cstring>
#include <new>

BinaryFile::BinaryFile(const char* name, const char* mode) {
    if (!name || !name[0]) return;
    std::strncpy(fileName, name, sizeof fileName - 1);
    stream = std::fopen(name, mode);
}

BinaryFile::~BinaryFile() {
    close();
}
bool BinaryFile::isOpen() const {
    return stream != nullptr;
}

int BinaryFile::close() {
    if (ownsStream && stream) std::fclose(stream);
    stream = nullptr;
    return 0;
}

size_t BinaryFile::read(void* buffer, size_t count) {
    return stream ? std::fread(buffer, 1, count, stream) : 0;
}
size_t BinaryFile::write(const void* buffer, size_t count) {
    return stream ? std::fwrite(buffer, 1, count, stream) : 0;
}
int BinaryFile::seek(long offset, int origin) {
    return stream ? std::fseek(stream, offset, origin) : -1;
}
long BinaryFile::tell() {
    return stream ? std::ftell(stream) : -1;
}

long BinaryFile::size() {
    if (!stream) return 0;
    long here = std::ftell(stream);
    std::fseek(stream, 0, SEEK_END);
    long end = std::ftell(stream);
    std::fseek(stream, here, SEEK_SET);
    return end;
}

RotationTrack::~RotationTrack() {
    delete[] keys;
    delete[] secondKeys;
    delete[] thirdKeys;
}
AnimationClip::~AnimationClip() {
    delete[] attachments;
}
SkeletonNode::~SkeletonNode() {
    delete[] pairs;
    delete[] children;
    delete[] tracks;
}
MeshMaterial::~MeshMaterial() {
    delete[] layers;
}
Model::~Model() {
    clearModel(*this);
}

namespace {
template <typename T> void release(T*& array, int32_t& count) {
    delete[] array;
    array = nullptr;
    count = 0;
}
} // namespace

void clearModel(Model& m) {
    release(m.clips, m.clipCount);
    release(m.roots, m.rootCount);
    release(m.vertices, m.vertexCount);
    release(m.faces, m.faceCount);
    release(m.textures, m.textureCount);
    release(m.labels, m.labelCount);
    release(m.trailers, m.trailerCount);
    release(m.materials, m.materialCount);
    m.version = MODEL_VERSION_NEWEST;
    std::memset(m.name, 0, sizeof m.name);
}

bool pathEndsWith(const char* path, const char* suffix) {
    size_t n = std::strlen(path), k = std::strlen(suffix);
    return n >= 4 && n >= k && std::strcmp(path + n - k, suffix) == 0;
}

int countTreeNodes(const SkeletonNode& node) {
    int n = 1;
    for (int i = 0; i < node.childCount; ++i)
        n += countTreeNodes(node.children[i]);
    return n;
}

namespace {

// Smallest size of one element of each list, so that a count can be checked against the bytes left.
const long CLIP_BYTES = 83 + 4, ATTACHMENT_BYTES = 324, NODE_BYTES = 155 + 3 * 4, PAIR_BYTES = 128;
const long TRACK_BYTES = 2 + 3 * 4, KEY_BYTES = 16, VERTEX_BYTES = 30, TEXTURE_BYTES = 1094;
const long LABEL_BYTES = 70, MATERIAL_BYTES = 94 + 4, LAYER_BYTES = 4, TRAILER_BYTES = 66;

struct Reader {
    BinaryFile& file;
    long fileSize;
    bool failed;
};

bool refuse(Reader& r, const char* problem, const char* what) {
    if (!r.failed) std::printf("%s: %s (%s)\n", r.file.name(), problem, what);
    r.failed = true;
    return false;
}

bool bytes(Reader& r, void* out, size_t n, const char* what) {
    if (r.failed) return false;
    if (r.file.read(out, n) != n) return refuse(r, "the file ends early", what);
    return true;
}

uint32_t le32(const unsigned char* b) {
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

bool u8(Reader& r, uint8_t& v, const char* what) {
    return bytes(r, &v, 1, what);
}
bool u16(Reader& r, uint16_t& v, const char* what) {
    unsigned char b[2];
    if (!bytes(r, b, 2, what)) return false;
    v = uint16_t(b[0] | b[1] << 8);
    return true;
}
bool i16(Reader& r, int16_t& v, const char* what) {
    uint16_t u;
    if (!u16(r, u, what)) return false;
    v = int16_t(u);
    return true;
}
bool u32(Reader& r, uint32_t& v, const char* what) {
    unsigned char b[4];
    if (!bytes(r, b, 4, what)) return false;
    v = le32(b);
    return true;
}
bool i32(Reader& r, int32_t& v, const char* what) {
    uint32_t u;
    if (!u32(r, u, what)) return false;
    v = int32_t(u);
    return true;
}
bool f32(Reader& r, float& v, const char* what) {
    uint32_t u;
    if (!u32(r, u, what)) return false;
    std::memcpy(&v, &u, 4);
    return true;
}
bool f64(Reader& r, double& v, const char* what) {
    unsigned char b[8];
    if (!bytes(r, b, 8, what)) return false;
    uint64_t u = uint64_t(le32(b)) | uint64_t(le32(b + 4)) << 32;
    std::memcpy(&v, &u, 8);
    return true;
}
bool floats(Reader& r, float* v, int n, const char* what) {
    for (int i = 0; i < n; ++i)
        if (!f32(r, v[i], what)) return false;
    return true;
}
// A name or path whose terminator is missing is cut at the end of its field.
bool text(Reader& r, char* field, size_t n, const char* what) {
    if (!bytes(r, field, n, what)) return false;
    field[n - 1] = 0;
    return true;
}

// Reads a list count and allocates its elements; a count the rest of the file can't hold is refused
// before anything is allocated.
template <typename T> bool list(Reader& r, int32_t& count, T*& array, long minBytes, const char* what) {
    uint32_t n;
    if (!u32(r, n, what)) return false;
    long left = r.fileSize - r.file.tell();
    if (n > 0x7FFFFFFFu || (long double)n * minBytes > (long double)left)
        return refuse(r, "a list claims more elements than the file holds", what);
    count = int32_t(n);
    if (n == 0) return true;
    array = new (std::nothrow) T[n];
    if (!array) {
        count = 0;
        return refuse(r, "out of memory", what);
    }
    return true;
}

// Reads each element of a list through 'readOne'; 'readList' reads the count first (see 'list').
template <typename T, typename F> bool elements(int32_t count, T* array, F readOne) {
    for (int i = 0; i < count; ++i)
        if (!readOne(array[i])) return false;
    return true;
}
template <typename T, typename F>
bool readList(Reader& r, int32_t& count, T*& array, long minBytes, const char* what, F readOne) {
    return list(r, count, array, minBytes, what) && elements(count, array, readOne);
}

bool readKeys(Reader& r, int32_t& count, RotationKey*& keys, bool limited) {
    if (!list(r, count, keys, KEY_BYTES, "key list")) return false;
    if (limited && count > MAX_TRACK_KEYS)
        return refuse(r, "a key track holds more than 20 keys", "key list");
    return elements(count, keys, [&](RotationKey& k) {
        return i32(r, k.frame, "key") && f32(r, k.angleX, "key") && f32(r, k.angleY, "key") &&
               f32(r, k.angleZ, "key");
    });
}

bool readNode(Reader& r, SkeletonNode& node, int depth) {
    if (depth > MAX_SKELETON_DEPTH) return refuse(r, "the skeleton is nested too deeply", "node");
    if (!text(r, node.name, sizeof node.name, "node") || !u8(r, node.id, "node") ||
        !floats(r, node.restMatrix, 16, "node") || !u16(r, node.unused16, "node"))
        return false;
    for (double& d : node.unusedDoubles)
        if (!f64(r, d, "node")) return false;
    return readList(r, node.pairCount, node.pairs, PAIR_BYTES, "node pairs",
                    [&](NodePair& p) {
                        return text(r, p.first, MODEL_NAME_SIZE, "node pair") &&
                               text(r, p.second, MODEL_NAME_SIZE, "node pair");
                    }) &&
           readList(r, node.childCount, node.children, NODE_BYTES, "child nodes",
                    [&](SkeletonNode& child) { return readNode(r, child, depth + 1); }) &&
           readList(r, node.trackCount, node.tracks, TRACK_BYTES, "key tracks", [&](RotationTrack& t) {
               return u16(r, t.unused, "key track") && readKeys(r, t.keyCount, t.keys, true) &&
                      readKeys(r, t.secondKeyCount, t.secondKeys, false) &&
                      readKeys(r, t.thirdKeyCount, t.thirdKeys, false);
           });
}

bool readClips(Reader& r, Model& m) {
    return readList(r, m.clipCount, m.clips, CLIP_BYTES, "clips", [&](AnimationClip& c) {
        return text(r, c.name, sizeof c.name, "clip") && u16(r, c.unused16, "clip") &&
               f32(r, c.framesPerSecond, "clip") && u8(r, c.unused8, "clip") &&
               i32(r, c.frameCount, "clip") && u32(r, c.unusedA, "clip") && u32(r, c.unusedB, "clip") &&
               readList(r, c.attachmentCount, c.attachments, ATTACHMENT_BYTES, "clip attachments",
                        [&](ClipAttachment& a) {
                            return text(r, a.name, sizeof a.name, "clip attachment") &&
                                   u32(r, a.unused, "clip attachment") &&
                                   text(r, a.path, sizeof a.path, "clip attachment");
                        });
    });
}

bool readFaces(Reader& r, Model& m) {
    bool newer = m.version >= MODEL_VERSION_NEWEST;
    return readList(r, m.faceCount, m.faces, newer ? 116 : 84, "faces", [&](MeshFace& f) {
        if (!u16(r, f.unused0, "face") || !i16(r, f.materialIndex, "face")) return false;
        if (newer && !u16(r, f.unused4, "face")) return false;
        if (!u16(r, f.unused6, "face")) return false;
        for (uint16_t& v : f.vertexIndex)
            if (!u16(r, v, "face")) return false;
        if (!floats(r, f.cornerNormal, 9, "face") || !floats(r, f.cornerUV, 6, "face") ||
            !floats(r, f.unusedA, 3, "face"))
            return false;
        if (!newer) return true;
        if (!floats(r, f.unusedB, 3, "face") || !floats(r, f.unusedC, 3, "face")) return false;
        for (uint16_t& u : f.unusedD)
            if (!u16(r, u, "face")) return false;
        return true;
    });
}

bool readVertices(Reader& r, Model& m) {
    return readList(r, m.vertexCount, m.vertices, VERTEX_BYTES, "vertices", [&](MeshVertex& v) {
        return floats(r, v.position, 3, "vertex") && floats(r, v.weight, 3, "vertex") &&
               bytes(r, v.bone, 4, "vertex") && u16(r, v.unused, "vertex");
    });
}

bool readTextures(Reader& r, Model& m) {
    return readList(r, m.textureCount, m.textures, TEXTURE_BYTES, "textures", [&](MeshTexture& t) {
        return text(r, t.name, sizeof t.name, "texture") && u16(r, t.imageId, "texture") &&
               bytes(r, t.skipped, 4, "texture") && text(r, t.path, sizeof t.path, "texture");
    });
}

bool readLabels(Reader& r, Model& m) {
    return readList(r, m.labelCount, m.labels, LABEL_BYTES, "70-byte list", [&](ModelLabel& l) {
        return text(r, l.name, sizeof l.name, "70-byte list") && u16(r, l.unused16, "70-byte list") &&
               u32(r, l.unused32, "70-byte list");
    });
}

bool readMaterials(Reader& r, Model& m) {
    return readList(r, m.materialCount, m.materials, MATERIAL_BYTES, "materials", [&](MeshMaterial& t) {
        return text(r, t.name, sizeof t.name, "material") && u16(r, t.materialId, "material") &&
               u32(r, t.diffuse, "material") && u32(r, t.ambient, "material") &&
               u32(r, t.specular, "material") && u32(r, t.unusedA, "material") &&
               f32(r, t.shininess, "material") && u32(r, t.unusedB, "material") &&
               u32(r, t.skipped, "material") &&
               readList(r, t.layerCount, t.layers, LAYER_BYTES, "material layers", [&](MaterialLayer& l) {
                   return u16(r, l.unused, "material layer") && u16(r, l.imageId, "material layer");
               });
    });
}

bool readTrailers(Reader& r, Model& m) {
    return readList(r, m.trailerCount, m.trailers, TRAILER_BYTES, "66-byte list", [&](ModelTrailer& t) {
        return text(r, t.name, MODEL_NAME_SIZE, "66-byte list") && u16(r, t.unused16, "66-byte list");
    });
}

bool checkPreOrder(const SkeletonNode& node, int& next) {
    if (node.id != next) return false;
    ++next;
    for (int i = 0; i < node.childCount; ++i)
        if (!checkPreOrder(node.children[i], next)) return false;
    return true;
}

// The indices that the later stages follow without checking.
bool checkIndices(Reader& r, const Model& m) {
    char what[96];
    int bones = 0;
    if (m.rootCount > 0) {
        int next = 1;
        if (!checkPreOrder(m.roots[0], next))
            return refuse(r, "node ids differ from the pre-order numbering", "skeleton");
        bones = next - 1;
    }
    for (int i = 0; i < m.faceCount; ++i) {
        const MeshFace& f = m.faces[i];
        std::snprintf(what, sizeof what, "face %d", i);
        if (f.materialIndex < 0 || f.materialIndex >= m.materialCount)
            return refuse(r, "material index out of range", what);
        for (uint16_t v : f.vertexIndex)
            if (v >= m.vertexCount) return refuse(r, "vertex index out of range", what);
    }
    for (int i = 0; i < m.vertexCount; ++i) {
        std::snprintf(what, sizeof what, "vertex %d", i);
        for (int k = 0; k < 3; ++k)
            if (m.vertices[i].bone[k] > bones) return refuse(r, "bone id out of range", what);
    }
    return true;
}

} // namespace

int loadModel(Model& m, BinaryFile& file) {
    Reader r{file, file.size(), false};
    unsigned char magic[5];
    if (!u32(r, m.version, "header") || !bytes(r, magic, 5, "header") ||
        !text(r, m.name, sizeof m.name, "header"))
        return 1;
    if (m.version > MODEL_VERSION_NEWEST) {
        refuse(r, "unknown version", "header");
        return 1;
    }
    if (std::memcmp(magic, "arg00", 5) != 0) {
        refuse(r, "not a model file", "header");
        return 1;
    }
    if (!readClips(r, m)) return 1;
    if (!list(r, m.rootCount, m.roots, NODE_BYTES, "skeleton")) return 1;
    for (int i = 0; i < m.rootCount; ++i)
        if (!readNode(r, m.roots[i], 0)) return 1;
    if (!readFaces(r, m) || !readVertices(r, m) || !readTextures(r, m) || !readLabels(r, m) ||
        !readMaterials(r, m))
        return 1;
    if (m.version >= MODEL_VERSION_NEWEST && !readTrailers(r, m)) return 1;
    return checkIndices(r, m) ? 0 : 1;
}
