// Feeds the shape file reader (readShapeFile): the first byte picks the shape slot (so the axe string
// and the seat net get their own rules), the rest is the ".shad" text stream.
#include "canoe/shape_file.h"
#include "fuzz_input.h"

#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quietStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    int index = data[0] % SHAPE_FILE_COUNT;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    bool ok = readShapeFile(in, index);
    const ShapeFile& shape = canoeShapes[index];
    if (shape.vertexCount < 0 || shape.vertexCount > SHAPE_CAPACITY || shape.normalCount < 0 ||
        shape.normalCount > SHAPE_CAPACITY || shape.faceCount < 0 || shape.faceCount > SHAPE_CAPACITY)
        std::abort();
    if (!ok && (shape.vertexCount || shape.normalCount || shape.faceCount)) std::abort();
    // What the drawing follows: every face corner names a stored vertex and normal.
    for (int f = 0; ok && f < shape.faceCount; ++f)
        for (int k = 0; k < 9; k += 3)
            if (shape.faces[f][k] < 0 || shape.faces[f][k] >= shape.vertexCount ||
                shape.faces[f][k + 2] < 0 || shape.faces[f][k + 2] >= shape.normalCount)
                std::abort();
    return 0;
}
