// Triangle meshes for the canoe's shape files: one normal per vertex, and the ".shad" writer.
#pragma once

#include "base/vecmath.h"

#include <string>
#include <vector>

// The normal of a mesh: unit length, or straight up where the vector is too short to have a direction.
Vec3 normalized(Vec3 a);

struct ShapeMesh {
    std::vector<Vec3> vertices, normals; // same length: vertex i uses normal i
    std::vector<int> triangles;          // three 0-based vertex numbers each

    int add(Vec3 position, Vec3 normal);
    void triangle(int a, int b, int c);
    // Two triangles a-b-c and a-c-d.
    void quad(int a, int b, int c, int d);
    // A grid of rows x cols vertices (indices row * cols + col from 'first'), joined into quads.
    void grid(int first, int rows, int cols);
    // A closed tube of 'sides' sides around the polyline 'path' with the given radii.
    void tube(const std::vector<Vec3>& path, const std::vector<double>& radius, int sides);
    // A six-faced solid with flat faces; corners 0-3 are one end, 4-7 the other, in the same turn.
    void hexahedron(const Vec3 corner[8]);
    // An axis-aligned box.
    void box(Vec3 low, Vec3 high);
    void append(const ShapeMesh& other);
};

// Writes the mesh as a shape file; every z is written 'zOffset' larger than it is (the axe string's
// reader shift takes it off again).
bool writeShapeFile(const std::string& folder, const char* name, const ShapeMesh& mesh, double zOffset = 0.0);
