// The shape file reader. Every token is read as a word and converted with the C library's rules, so
// a word that is not a number counts as 0; what the counts promise is checked before it is stored.
#include "canoe/shape_file.h"

#include "base/tokens.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

const int canoeShapeCount = 15;
ShapeFile canoeShapes[SHAPE_FILE_COUNT];

const char* const shapeFileNames[SHAPE_FILE_COUNT] = {"finouthull.shad",
                                                      "fingun.shad",
                                                      "fixfinbowsternline.shad",
                                                      "finbump.shad",
                                                      "fininhull.shad",
                                                      "fixfinseats.shad",
                                                      "fixfinbowsternline.shad",
                                                      "fixfinribs.shad",
                                                      "finribends.shad",
                                                      "finseatnet.shad",
                                                      "fintump.shad",
                                                      "finaxhead.shad",
                                                      "fixfinaxhandle.shad",
                                                      "fixfinaxstring.shad",
                                                      "fixfincups.shad",
                                                      "finpaddle.shad"};

const char* const canoeTextureNames[5] = {"birch.bmp", "spruce.bmp", "kkk.bmp", "leather.bmp", "theseat.bmp"};

static bool refuse(ShapeFile& shape, const char* name, const std::string& problem) {
    std::printf("%s: %s; the file is refused\n", name, problem.c_str());
    shape.vertexCount = shape.normalCount = shape.faceCount = 0;
    return false;
}

// Reads a label and a count; the count must fit the record.
static bool readCount(std::istream& in, const char* what, int32_t& count, std::string& problem) {
    std::string label, word;
    if (!(in >> label >> word)) {
        problem = std::string("the file ends before its ") + what + " count";
        return false;
    }
    long value = tokenToLong(word);
    if (value < 0 || value > SHAPE_CAPACITY) {
        problem = std::string(what) + " count " + std::to_string(value) + " is outside 0 to " +
                  std::to_string(SHAPE_CAPACITY);
        return false;
    }
    count = static_cast<int32_t>(value);
    return true;
}

static bool readTriples(std::istream& in, float (*triples)[3], int count, float zShift) {
    std::string word;
    for (int i = 0; i < count; i++) {
        for (int c = 0; c < 3; c++) {
            if (!(in >> word)) return false;
            triples[i][c] = static_cast<float>(tokenToDouble(word));
        }
        triples[i][2] -= zShift;
    }
    return true;
}

bool readShapeFile(std::istream& in, int shapeIndex) {
    if (shapeIndex < 0 || shapeIndex >= SHAPE_FILE_COUNT) {
        std::printf("shape index %d is outside 0 to %d\n", shapeIndex, SHAPE_FILE_COUNT - 1);
        return false;
    }
    ShapeFile& shape = canoeShapes[shapeIndex];
    const char* name = shapeFileNames[shapeIndex];
    std::string problem;
    if (!readCount(in, "vertex", shape.vertexCount, problem) ||
        !readCount(in, "normal", shape.normalCount, problem) ||
        !readCount(in, "face", shape.faceCount, problem))
        return refuse(shape, name, problem);

    // The axe string is stored half a unit further toward -z than its file says.
    float zShift = shapeIndex == AXE_STRING_SHAPE ? 0.5f : 0.0f;
    if (!readTriples(in, shape.vertices, shape.vertexCount, zShift))
        return refuse(shape, name, "the file ends inside its vertices");
    if (!readTriples(in, shape.normals, shape.normalCount, 0.0f))
        return refuse(shape, name, "the file ends inside its normals");

    std::string word;
    for (int i = 0; i < shape.faceCount; i++) {
        for (int k = 0; k < 9; k++) {
            if (!(in >> word)) return refuse(shape, name, "the file ends inside its faces");
            // 1-based in the file; a word that is not a number becomes -1 and is caught below. A
            // number saturated at LONG_MIN has nothing below it and stays there.
            long number = tokenToLong(word);
            long index = number > LONG_MIN ? number - 1 : LONG_MIN;
            int kind = k % 3; // 0 vertex, 1 texture coordinate (unused), 2 normal
            long limit = kind == 0 ? shape.vertexCount : kind == 2 ? shape.normalCount : 0;
            if (kind != 1 && (index < 0 || index >= limit)) {
                return refuse(shape, name,
                              "face " + std::to_string(i + 1) + " uses " +
                                  (kind == 0 ? "vertex " : "normal ") + std::to_string(number) + " of " +
                                  std::to_string(limit));
            }
            // The unused texture-coordinate number is kept as read, clamped into 32 bits.
            if (index < INT32_MIN) index = INT32_MIN;
            if (index > INT32_MAX) index = INT32_MAX;
            shape.faces[i][k] = static_cast<int32_t>(index);
        }
    }
    if (shapeIndex == SEAT_NET_SHAPE && (shape.vertexCount < 8 || shape.normalCount < 8))
        std::printf("%s: fewer than 8 vertices and normals; the seat nets are not drawn\n", name);
    return true;
}
