// The canoe's shape files: the fixed-capacity ShapeFile record, the 16 records read at start-up,
// their file names, and the reader that fills one record from a ".shad" token stream.
#pragma once

#include <cstdint>
#include <istream>

const int SHAPE_CAPACITY = 20000; // vertices, normals, faces and texture-coordinate pairs per shape
const int SHAPE_FILE_COUNT = 16;
const int AXE_STRING_SHAPE = 13; // the one shape whose z values are shifted while reading
const int SEAT_NET_SHAPE = 9;    // drawn as two quads from its first 8 vertices and normals

struct ShapeFile {
    int32_t vertexCount;
    float vertices[SHAPE_CAPACITY][3];
    int32_t normalCount;
    float normals[SHAPE_CAPACITY][3];
    int32_t faceCount;
    // Per face, three corners of (vertex, texture coordinate, normal), already 0-based.
    int32_t faces[SHAPE_CAPACITY][9];
    float texCoords[SHAPE_CAPACITY][2]; // only the inner hull and the ribs fill these
    uint32_t texture;                   // GL texture name, 0 for an untextured shape
};

// The last index loaded; the canoe drawing draws indices 0 to canoeShapeCount - 1.
extern const int canoeShapeCount;
extern ShapeFile canoeShapes[SHAPE_FILE_COUNT];
extern const char* const shapeFileNames[SHAPE_FILE_COUNT];
extern const char* const canoeTextureNames[5];

// Fills canoeShapes[shapeIndex] from the stream. Counts must lie in [0, SHAPE_CAPACITY], the file
// must hold every number its counts promise, and every face must name existing vertices and
// normals; otherwise it prints one line naming the file and the fault, leaves the record empty and
// returns false (the caller then stops the program). A seat net shape without the 8 vertices and
// normals of its two quads is accepted with a warning and not drawn.
bool readShapeFile(std::istream& in, int shapeIndex);
