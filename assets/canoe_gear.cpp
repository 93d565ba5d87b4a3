// What lies in the canoe: a leather tump line, an axe with its lanyard, two tin cups, a spare paddle.
#include "assets/canoe_hull.h"
#include "assets/canoe_shapes.h"

#include <cmath>

double floorHeight(double x, double z) {
    double u = hullStationAt(z);
    int side = x >= HULL_X ? 1 : -1;
    double want = std::fabs(x - HULL_X), lo = 0, hi = 1;
    for (int i = 0; i < 40; i++) {
        double mid = (lo + hi) / 2;
        if (std::fabs(hullInsidePoint(u, mid, side, 0.3).x - HULL_X) < want)
            lo = mid;
        else
            hi = mid;
    }
    return hullInsidePoint(u, (lo + hi) / 2, side, 0.3).y;
}

static Vec3 onFloor(double x, double z, double lift) {
    return {x, floorHeight(x, z) + lift, z};
}

ShapeMesh makeTumpLine() {
    // A long strap lying in loose curves on the floor, wider along the headband in its middle.
    ShapeMesh mesh;
    const int n = 30;
    std::vector<Vec3> left, right;
    for (int i = 0; i <= n; i++) {
        double t = static_cast<double>(i) / n;
        double x = HULL_X - 1.5 + 4.0 * std::sin(2 * M_PI * 1.1 * t), z = -14.0 + 26.0 * t;
        double dx = 4.0 * 2 * M_PI * 1.1 * std::cos(2 * M_PI * 1.1 * t), dz = 26.0;
        double l = std::sqrt(dx * dx + dz * dz);
        double half = 0.5 + (t > 0.35 && t < 0.65 ? 0.7 * std::sin(M_PI * (t - 0.35) / 0.3) : 0.0);
        double qx = dz / l * half, qz = -dx / l * half;
        left.push_back(onFloor(x + qx, z + qz, 0.1));
        right.push_back(onFloor(x - qx, z - qz, 0.1));
    }
    const double thick = 0.22;
    for (int face = 0; face < 4; face++) {
        int first = static_cast<int>(mesh.vertices.size());
        for (int i = 0; i <= n; i++) {
            Vec3 up = {0, thick, 0}, across = normalized(left[i] - right[i]);
            if (face == 0) mesh.add(left[i] + up, {0, 1, 0}), mesh.add(right[i] + up, {0, 1, 0});
            if (face == 1) mesh.add(left[i], {0, -1, 0}), mesh.add(right[i], {0, -1, 0});
            if (face == 2) mesh.add(left[i], across), mesh.add(left[i] + up, across);
            if (face == 3) mesh.add(right[i], across * -1.0), mesh.add(right[i] + up, across * -1.0);
        }
        mesh.grid(first, n + 1, 2);
    }
    return mesh;
}

// The axe lies on the floor ahead of the tump line, its handle along the boat, the head flat.
static const Vec3 AXE_BUTT = {HULL_X + 7.0, 0, 14.0};
static const Vec3 AXE_TOP = {HULL_X + 4.0, 0, 33.0};

static Vec3 axeDirection() {
    return normalized(AXE_TOP - AXE_BUTT);
}

ShapeMesh makeAxeHead() {
    ShapeMesh mesh;
    Vec3 d = axeDirection(), across = {d.z, 0, -d.x}; // across points away from the centre line
    Vec3 eye = onFloor(AXE_TOP.x, AXE_TOP.z, 0.75) - d * 0.8;
    Vec3 poll = eye + across * 1.4, edge = eye - across * 4.6;
    // Thick at the poll, thin and flared at the bit.
    const Vec3 c[8] = {poll - d * 0.9 - Vec3{0, 0.7, 0}, poll + d * 0.9 - Vec3{0, 0.7, 0},
                       poll + d * 0.9 + Vec3{0, 0.7, 0}, poll - d * 0.9 + Vec3{0, 0.7, 0},
                       edge - d * 1.9 - Vec3{0, 0.1, 0}, edge + d * 1.9 - Vec3{0, 0.1, 0},
                       edge + d * 1.9 + Vec3{0, 0.1, 0}, edge - d * 1.9 + Vec3{0, 0.1, 0}};
    mesh.hexahedron(c);
    return mesh;
}

ShapeMesh makeAxeHandle() {
    ShapeMesh mesh;
    Vec3 d = axeDirection();
    Vec3 butt = onFloor(AXE_BUTT.x, AXE_BUTT.z, 0.55), top = onFloor(AXE_TOP.x, AXE_TOP.z, 0.75) + d * 0.3;
    // Straight and tapering, with a swelled knob at the butt: a few rings carry it.
    std::vector<Vec3> path;
    std::vector<double> radius;
    for (double f : {0.0, 0.05, 0.07, 0.5, 1.0}) {
        path.push_back(butt + (top - butt) * f);
        radius.push_back(0.62 - 0.16 * f + (f < 0.06 ? 0.12 : 0.0));
    }
    mesh.tube(path, radius, 8);
    return mesh;
}

ShapeMesh makeAxeString() {
    // A lanyard loop through the butt, lying on the floor behind the handle.
    ShapeMesh mesh;
    Vec3 d = axeDirection();
    Vec3 centre = onFloor(AXE_BUTT.x, AXE_BUTT.z, 0.2) - d * 1.6;
    std::vector<Vec3> path;
    for (int k = 0; k <= 12; k++) {
        double a = 2 * M_PI * k / 12;
        Vec3 p = centre + Vec3{1.2 * std::cos(a), 0, 1.9 * std::sin(a)};
        p.y = floorHeight(p.x, p.z) + 0.18;
        path.push_back(p);
    }
    mesh.tube(path, std::vector<double>(path.size(), 0.15), 4);
    return mesh;
}

static void addCup(ShapeMesh& mesh, Vec3 base) {
    const int n = 12;
    const double r = 1.5, wall = 0.12, height = 2.4;
    // Outer wall, inner wall, then the rim between them.
    for (int layer = 0; layer < 3; layer++) {
        int first = static_cast<int>(mesh.vertices.size());
        for (int k = 0; k <= n; k++) {
            double a = 2 * M_PI * k / n;
            Vec3 out = {std::cos(a), 0, std::sin(a)};
            if (layer == 0) mesh.add(base + out * r, out), mesh.add(base + out * r + Vec3{0, height, 0}, out);
            if (layer == 1)
                mesh.add(base + out * (r - wall) + Vec3{0, wall, 0}, out * -1.0),
                    mesh.add(base + out * (r - wall) + Vec3{0, height, 0}, out * -1.0);
            if (layer == 2)
                mesh.add(base + out * r + Vec3{0, height, 0}, {0, 1, 0}),
                    mesh.add(base + out * (r - wall) + Vec3{0, height, 0}, {0, 1, 0});
        }
        mesh.grid(first, n + 1, 2);
    }
    // Bottom, outside and inside.
    for (int inside = 0; inside < 2; inside++) {
        Vec3 centre = base + Vec3{0, inside ? wall : 0.0, 0};
        int hub = mesh.add(centre, {0, inside ? 1.0 : -1.0, 0});
        for (int k = 0; k < n; k++) {
            double a = 2 * M_PI * k / n, b = 2 * M_PI * (k + 1) / n;
            double rr = inside ? r - wall : r;
            int p =
                mesh.add(centre + Vec3{rr * std::cos(a), 0, rr * std::sin(a)}, {0, inside ? 1.0 : -1.0, 0});
            int q =
                mesh.add(centre + Vec3{rr * std::cos(b), 0, rr * std::sin(b)}, {0, inside ? 1.0 : -1.0, 0});
            mesh.triangle(hub, p, q);
        }
    }
    // A loop handle on the side toward +x.
    std::vector<Vec3> path;
    for (int k = 0; k <= 6; k++) {
        double a = M_PI * k / 6 - M_PI / 2;
        path.push_back(base + Vec3{r + 0.7 * std::cos(a), height * 0.5 + 0.8 * std::sin(a), 0});
    }
    mesh.tube(path, std::vector<double>(path.size(), 0.13), 4);
}

ShapeMesh makeCups() {
    ShapeMesh mesh;
    addCup(mesh, onFloor(HULL_X - 6.0, 36.0, 0.0));
    addCup(mesh, onFloor(HULL_X - 3.5, 40.0, 0.0));
    return mesh;
}

ShapeMesh makePaddle() {
    // A spare paddle along the starboard side of the floor: grip, shaft and a long oval blade.
    ShapeMesh mesh;
    double x = HULL_X - 8.0;
    std::vector<Vec3> shaft;
    for (int i = 0; i <= 12; i++)
        shaft.push_back(onFloor(x, -20.0 + 30.0 * i / 12, 0.6));
    mesh.tube(shaft, std::vector<double>(shaft.size(), 0.6), 8);
    Vec3 a = shaft.front();
    mesh.box({a.x - 1.6, a.y - 0.5, a.z - 1.0}, {a.x + 1.6, a.y + 0.5, a.z + 0.4});
    const int n = 12;
    int first = static_cast<int>(mesh.vertices.size());
    for (int i = 0; i <= n; i++) {
        double f = static_cast<double>(i) / n, z = 10.0 + 22.0 * f;
        double half = 3.0 * std::sin(M_PI * (0.15 + 0.85 * f));
        Vec3 c = onFloor(x, z, 0.6);
        mesh.add({x - half, c.y, z}, {0, 1, 0});
        mesh.add({x + half, c.y, z}, {0, 1, 0});
    }
    mesh.grid(first, n + 1, 2);
    return mesh;
}
