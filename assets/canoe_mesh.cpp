// Mesh building helpers and the ".shad" text writer.
#include "assets/canoe_mesh.h"

#include "assets/writers.h"

#include <algorithm>
#include <cmath>

Vec3 normalized(Vec3 a) {
    return length(a) > 1e-12 ? unitVector(a) : Vec3(0, 1, 0);
}

int ShapeMesh::add(Vec3 position, Vec3 normal) {
    vertices.push_back(position);
    normals.push_back(normalized(normal));
    return static_cast<int>(vertices.size()) - 1;
}

void ShapeMesh::triangle(int a, int b, int c) {
    triangles.push_back(a);
    triangles.push_back(b);
    triangles.push_back(c);
}

void ShapeMesh::quad(int a, int b, int c, int d) {
    triangle(a, b, c);
    triangle(a, c, d);
}

void ShapeMesh::grid(int first, int rows, int cols) {
    for (int r = 0; r + 1 < rows; r++)
        for (int c = 0; c + 1 < cols; c++) {
            int a = first + r * cols + c;
            quad(a, a + 1, a + cols + 1, a + cols);
        }
}

void ShapeMesh::tube(const std::vector<Vec3>& path, const std::vector<double>& radius, int sides) {
    int first = static_cast<int>(vertices.size());
    int n = static_cast<int>(path.size());
    Vec3 u = {0, 0, 0};
    for (int i = 0; i < n; i++) {
        Vec3 along = normalized(path[std::min(i + 1, n - 1)] - path[std::max(i - 1, 0)]);
        if (i == 0) {
            Vec3 side = std::fabs(along.y) < 0.9 ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
            u = normalized(cross(along, side));
        } else {
            // Carry the previous frame along the path, so the tube never twists where it turns.
            u = normalized(u - along * dot(u, along));
        }
        Vec3 v = cross(along, u);
        for (int k = 0; k <= sides; k++) {
            double a = 2 * M_PI * k / sides;
            Vec3 out = u * std::cos(a) + v * std::sin(a);
            add(path[i] + out * radius[i], out);
        }
    }
    grid(first, n, sides + 1);
    // Close both ends so that an open end never shows the inside of the tube.
    for (int end = 0; end < 2; end++) {
        int ring = end ? n - 1 : 0;
        Vec3 along = normalized(path[end ? n - 1 : 1] - path[end ? n - 2 : 0]) * (end ? 1.0 : -1.0);
        int hub = add(path[ring], along);
        int rim = static_cast<int>(vertices.size());
        for (int k = 0; k <= sides; k++)
            add(vertices[first + ring * (sides + 1) + k], along);
        for (int k = 0; k < sides; k++)
            triangle(hub, rim + k, rim + k + 1);
    }
}

void ShapeMesh::hexahedron(const Vec3 corner[8]) {
    // Each face has its own four vertices so that its normal is flat, turned away from the middle.
    const int face[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 4, 7, 3},
                            {1, 2, 6, 5}, {0, 1, 5, 4}, {3, 7, 6, 2}};
    Vec3 centre = {0, 0, 0};
    for (int k = 0; k < 8; k++)
        centre = centre + corner[k] * 0.125;
    for (int f = 0; f < 6; f++) {
        const Vec3 &a = corner[face[f][0]], &b = corner[face[f][1]], &c = corner[face[f][2]],
                   &d = corner[face[f][3]];
        Vec3 normal = normalized(cross(c - a, d - b));
        if (dot(normal, (a + c) * 0.5 - centre) < 0) normal = normal * -1.0;
        int first = add(a, normal);
        add(b, normal);
        add(c, normal);
        add(d, normal);
        quad(first, first + 1, first + 2, first + 3);
    }
}

void ShapeMesh::box(Vec3 lo, Vec3 hi) {
    const Vec3 corner[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                            {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    hexahedron(corner);
}

void ShapeMesh::append(const ShapeMesh& other) {
    int first = static_cast<int>(vertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    normals.insert(normals.end(), other.normals.begin(), other.normals.end());
    for (int index : other.triangles)
        triangles.push_back(first + index);
}

bool writeShapeFile(const std::string& folder, const char* name, const ShapeMesh& mesh, double zOffset) {
    FILE* file = openAssetFile(folder, name);
    if (!file) return false;
    size_t faces = mesh.triangles.size() / 3;
    std::fprintf(file, "vertices %zu\nnormals %zu\nfaces %zu\n", mesh.vertices.size(), mesh.normals.size(),
                 faces);
    for (const Vec3& p : mesh.vertices)
        std::fprintf(file, "%.4f %.4f %.4f\n", p.x, p.y, p.z + zOffset);
    for (const Vec3& n : mesh.normals)
        std::fprintf(file, "%.4f %.4f %.4f\n", n.x, n.y, n.z);
    // Corners as vertex/texture/normal triples, 1-based; the texture number repeats the vertex's.
    for (size_t f = 0; f < faces; f++) {
        for (int c = 0; c < 3; c++) {
            int v = mesh.triangles[3 * f + c] + 1;
            std::fprintf(file, c ? " %d %d %d" : "%d %d %d", v, v, v);
        }
        std::fputc('\n', file);
    }
    bool ok = std::ferror(file) == 0;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::fprintf(stderr, "canoe_assets: can't write %s/%s\n", folder.c_str(), name);
    return ok;
}
