// Triangle meshes for the canoe's shape files: one normal per vertex, and the ".shad" writer.
#pragma once

#include <string>
#include <vector>

struct P3 {
    double x, y, z;
};
inline P3 operator+(P3 a, P3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline P3 operator-(P3 a, P3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline P3 operator*(P3 a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
P3 cross(P3 a, P3 b);
double dot(P3 a, P3 b);
P3 normalized(P3 a);

struct ShapeMesh {
    std::vector<P3> vertices, normals; // same length: vertex i uses normal i
    std::vector<int> triangles;        // three 0-based vertex numbers each

    int add(P3 position, P3 normal);
    void triangle(int a, int b, int c);
    // Two triangles a-b-c and a-c-d.
    void quad(int a, int b, int c, int d);
    // A grid of rows x cols vertices (indices row * cols + col from 'first'), joined into quads.
    void grid(int first, int rows, int cols);
    // A closed tube of 'sides' sides around the polyline 'path' with the given radii.
    void tube(const std::vector<P3>& path, const std::vector<double>& radius, int sides);
    // A six-faced solid with flat faces; corners 0-3 are one end, 4-7 the other, in the same turn.
    void hexahedron(const P3 corner[8]);
    // An axis-aligned box.
    void box(P3 low, P3 high);
    void append(const ShapeMesh& other);
};

// Writes the mesh as a shape file; every z is written 'zOffset' larger than it is (the axe string's
// reader shift takes it off again).
bool writeShapeFile(const std::string& folder, const char* name, const ShapeMesh& mesh, double zOffset = 0.0);
