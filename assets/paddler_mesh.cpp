// The generated paddler's mesh: low-poly elliptic tubes along the bone chains (rings rigid on one bone,
// joint rings blended between two), an ellipsoid head, fists of tubes round the paddle's shaft; and the
// paddle on its own bone.
#include "assets/paddler_rig.h"

#include <algorithm>
#include <cmath>

namespace {

const double PI = 3.14159265358979323846;
enum { SHIRT, TROUSERS, SKIN, FACE };

struct Bind {
    int bone[3];
    float weight[3];
};
Bind rigid(int bone) {
    return Bind{{bone + 1, 0, 0}, {1, 0, 0}};
}
Bind blend(int a, int b, float wa) {
    return Bind{{a + 1, b + 1, 0}, {wa, 1 - wa, 0}};
}

struct Ring {
    Vec3 centre;
    double rx, rz;
    Bind bind;
    int material; // of the band that follows this ring
};

int addVertex(DraftModel& m, const Vec3& p, const Bind& b) {
    DraftVertex v;
    v.position[0] = float(p.x);
    v.position[1] = float(p.y);
    v.position[2] = float(p.z);
    for (int k = 0; k < 3; ++k) {
        v.weight[k] = b.weight[k];
        v.bone[k] = uint8_t(b.bone[k]);
    }
    m.vertices.push_back(v);
    return int(m.vertices.size()) - 1;
}

void addFace(DraftModel& m, int material, const int v[3], const Vec3 n[3], const double uv[6]) {
    DraftFace f;
    f.material = material;
    for (int k = 0; k < 3; ++k) {
        f.vertex[k] = uint16_t(v[k]);
        f.normal[3 * k] = float(n[k].x);
        f.normal[3 * k + 1] = float(n[k].y);
        f.normal[3 * k + 2] = float(n[k].z);
    }
    for (int k = 0; k < 6; ++k)
        f.uv[k] = float(uv[k]);
    m.faces.push_back(f);
}

// A closed tube through the rings; 'ref' fixes where the seam and u = 0 lie (perpendicular to the
// tube's direction). The ends are capped.
void addTube(DraftModel& m, const std::vector<Ring>& rings, int sides, const Vec3& ref, double vScale) {
    int n = int(rings.size());
    std::vector<std::vector<int>> index(n, std::vector<int>(sides + 1));
    std::vector<std::vector<Vec3>> normal(n, std::vector<Vec3>(sides + 1));
    std::vector<Vec3> dir(n), uAxis(n), wAxis(n);
    std::vector<double> v(n, 0.0);
    for (int r = 0; r < n; ++r) {
        Vec3 a = rings[r > 0 ? r - 1 : 0].centre, b = rings[r + 1 < n ? r + 1 : n - 1].centre;
        dir[r] = unit(sub(b, a));
        uAxis[r] = unit(sub(ref, dir[r] * dot(ref, dir[r])));
        wAxis[r] = cross(dir[r], uAxis[r]);
        if (r > 0)
            v[r] = v[r - 1] + std::sqrt(dot(sub(rings[r].centre, rings[r - 1].centre),
                                            sub(rings[r].centre, rings[r - 1].centre))) /
                                  vScale;
    }
    for (int r = 0; r < n; ++r) {
        const Ring& ring = rings[r];
        int pr = r > 0 ? r - 1 : r, nx = r + 1 < n ? r + 1 : r;
        double span =
            std::sqrt(dot(sub(rings[nx].centre, rings[pr].centre), sub(rings[nx].centre, rings[pr].centre)));
        double slope =
            span > 0 ? ((rings[nx].rx + rings[nx].rz) - (rings[pr].rx + rings[pr].rz)) / 2 / span : 0;
        for (int s = 0; s <= sides; ++s) {
            double a = 2 * PI * s / sides;
            Vec3 p = ring.centre + uAxis[r] * (ring.rx * std::cos(a)) + wAxis[r] * (ring.rz * std::sin(a));
            index[r][s] = addVertex(m, p, ring.bind);
            Vec3 en = uAxis[r] * (std::cos(a) / ring.rx) + wAxis[r] * (std::sin(a) / ring.rz);
            normal[r][s] = unit(unit(en) + dir[r] * -slope);
        }
    }
    for (int r = 0; r + 1 < n; ++r) {
        for (int s = 0; s < sides; ++s) {
            int a = index[r][s], b = index[r][s + 1], c = index[r + 1][s + 1], e = index[r + 1][s];
            double ua = double(s) / sides, ub = double(s + 1) / sides;
            int t1[3] = {a, b, c}, t2[3] = {a, c, e};
            Vec3 n1[3] = {normal[r][s], normal[r][s + 1], normal[r + 1][s + 1]};
            Vec3 n2[3] = {normal[r][s], normal[r + 1][s + 1], normal[r + 1][s]};
            double uv1[6] = {ua, v[r], ub, v[r], ub, v[r + 1]},
                   uv2[6] = {ua, v[r], ub, v[r + 1], ua, v[r + 1]};
            addFace(m, rings[r].material, t1, n1, uv1);
            addFace(m, rings[r].material, t2, n2, uv2);
        }
    }
    for (int end = 0; end < 2; ++end) {
        int r = end == 0 ? 0 : n - 1;
        Vec3 out = dir[r] * (end == 0 ? -1.0 : 1.0);
        int material = rings[end == 0 ? 0 : (n > 1 ? n - 2 : 0)].material;
        int centre = addVertex(m, rings[r].centre, rings[r].bind);
        std::vector<int> edge(sides + 1);
        for (int s = 0; s <= sides; ++s) {
            const DraftVertex& dv = m.vertices[index[r][s]];
            edge[s] = addVertex(m, Vec3(dv.position[0], dv.position[1], dv.position[2]), rings[r].bind);
        }
        for (int s = 0; s < sides; ++s) {
            int t[3] = {centre, edge[end == 0 ? s + 1 : s], edge[end == 0 ? s : s + 1]};
            Vec3 nn[3] = {out, out, out};
            double uv[6] = {0.5, v[r], double(s) / sides, v[r], double(s + 1) / sides, v[r]};
            addFace(m, material, t, nn, uv);
        }
    }
}

// An axis-aligned box (in rest space) on one bone, each side with its own vertices and normal.
void addBox(DraftModel& m, const Vec3& centre, const Vec3& half, const Bind& bind, int material) {
    for (int axis = 0; axis < 3; ++axis) {
        for (int sign = -1; sign <= 1; sign += 2) {
            Vec3 nrm(axis == 0 ? sign : 0, axis == 1 ? sign : 0, axis == 2 ? sign : 0);
            Vec3 u(axis == 1 ? 1 : 0, axis == 2 ? 1 : 0, axis == 0 ? 1 : 0);
            Vec3 w = cross(nrm, u);
            int idx[4];
            double uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
            for (int k = 0; k < 4; ++k) {
                double su = (k == 1 || k == 2) ? 1 : -1, sw = (k >= 2) ? 1 : -1;
                Vec3 offset = nrm + u * su + w * sw;
                idx[k] = addVertex(m, centre + Vec3(offset.x * half.x, offset.y * half.y, offset.z * half.z),
                                   bind);
            }
            Vec3 nn[3] = {nrm, nrm, nrm};
            int t1[3] = {idx[0], idx[1], idx[2]}, t2[3] = {idx[0], idx[2], idx[3]};
            double uv1[6] = {uv[0], uv[1], uv[2], uv[3], uv[4], uv[5]};
            double uv2[6] = {uv[0], uv[1], uv[4], uv[5], uv[6], uv[7]};
            addFace(m, material, t1, nn, uv1);
            addFace(m, material, t2, nn, uv2);
        }
    }
}

Vec3 lerp(const Vec3& a, const Vec3& b, double t) {
    return a + sub(b, a) * t;
}

// The fist on the wrist bone (c + 5) round the shaft: a palm from the wrist to the knuckles beside
// the shaft, four fingers curled round it (the little finger on the ring finger's bones) and the thumb
// round the other way; two-bone blends at the wrist and every finger joint.
void addHand(DraftModel& m, int c, double side) {
    const Vec3 hand = rigJoint[c + 6], z(0, 0, 1);
    auto at = [&](double degrees, double radius, double along) {
        return fistPoint(side, hand, degrees, radius, along);
    };
    // The palm: its inner face clear of the shaft, its back toward the knuckles.
    Vec3 wrist = rigJoint[c + 5];
    Vec3 axis = handAxis(side), palm = handPalm(side);
    auto palmAt = [&](double a, double n) { return hand + axis * a + palm * n; };
    std::vector<Ring> rings = {
        {wrist + palm * -0.15, 1.05, 0.75, blend(c + 4, c + 5, 0.5f), SKIN},
        {palmAt(-1.4, -0.75), 1.2, 0.55, rigid(c + 5), SKIN},
        {palmAt(-0.5, -1.0), 1.32, 0.42, rigid(c + 5), SKIN},
        {palmAt(0.35, -0.98), 1.28, 0.4, rigid(c + 5), SKIN},
        {palmAt(0.75, -0.8), 1.05, 0.3, rigid(c + 5), SKIN},
    };
    addTube(m, rings, 8, z, 4);
    const double radius[5] = {0.32, 0.27, 0.28, 0.26, 0.22};
    for (int g = 0; g < 5; ++g) {
        Vec3 j[4];
        fingerJoints(side, hand, g, j);
        int bone = c + 7 + 3 * (g < 4 ? g : 3);
        double r = radius[g];
        std::vector<Ring> finger = {
            {j[0], r * 1.1, r * 1.1, g == 0 ? rigid(bone) : blend(c + 5, bone, 0.5f), SKIN},
            {j[1], r, r, blend(bone, bone + 1, 0.5f), SKIN},
            {j[2], r * 0.95, r * 0.95, blend(bone + 1, bone + 2, 0.5f), SKIN},
            {j[3], r * 0.8, r * 0.8, rigid(bone + 2), SKIN},
        };
        if (g == 0)
            finger.insert(finger.begin(), {at(200, 1.5, 0.3), 0.5, 0.45, blend(c + 5, bone, 0.5f), SKIN});
        addTube(m, finger, 6, z, 2);
    }
}

void addArm(DraftModel& m, int c, double side) {
    const Vec3* j = rigJoint;
    Vec3 s = j[c + 1], e = j[c + 3], w = j[c + 5];
    std::vector<Ring> rings = {
        {lerp(j[c], s, 0.5), 2.6, 2.6, blend(11, c + 1, 0.7f), SHIRT},
        {s, 3.0, 3.0, blend(11, c + 1, 0.4f), SHIRT},
        {lerp(s, e, 0.25), 2.9, 2.8, rigid(c + 1), SHIRT},
        {j[c + 2], 2.7, 2.6, rigid(c + 2), SHIRT},
        {lerp(s, e, 0.85), 2.4, 2.3, rigid(c + 2), SHIRT},
        {e, 2.3, 2.3, blend(c + 2, c + 3, 0.5f), SHIRT},
        {lerp(e, w, 0.15), 2.3, 2.2, rigid(c + 3), SHIRT},
        {lerp(e, w, 0.35), 2.1, 2.0, blend(c + 3, c + 4, 0.5f), SKIN},
        {j[c + 4], 1.9, 1.75, rigid(c + 4), SKIN},
        {lerp(e, w, 0.8), 1.6, 1.4, rigid(c + 4), SKIN},
        {w, 1.3, 1.05, blend(c + 4, c + 5, 0.5f), SKIN},
    };
    addTube(m, rings, 8, handPalm(side), 6);
    addHand(m, c, side);
}

void addLeg(DraftModel& m, int b) {
    const Vec3* j = rigJoint;
    Vec3 toeEnd = j[b + 3] + unit(sub(j[b + 3], j[b + 2])) * 2.2;
    std::vector<Ring> rings = {
        {j[b], 3.8, 3.8, blend(0, b, 0.5f), TROUSERS},
        {lerp(j[b], j[b + 1], 0.5), 3.6, 3.5, rigid(b), TROUSERS},
        {lerp(j[b], j[b + 1], 0.88), 2.9, 2.9, rigid(b), TROUSERS},
        {j[b + 1], 2.8, 2.8, blend(b, b + 1, 0.5f), TROUSERS},
        {lerp(j[b + 1], j[b + 2], 0.12), 2.5, 2.5, rigid(b + 1), TROUSERS},
        {lerp(j[b + 1], j[b + 2], 0.85), 1.9, 1.9, rigid(b + 1), TROUSERS},
        {j[b + 2], 1.8, 1.8, blend(b + 1, b + 2, 0.5f), TROUSERS},
        {j[b + 3], 1.6, 1.3, rigid(b + 2), TROUSERS},
        {toeEnd, 1.1, 0.9, rigid(b + 3), TROUSERS},
    };
    addTube(m, rings, 8, Vec3(1, 0, 0), 6);
}

void addBody(DraftModel& m) {
    // Torso up the spine, trousers below the waist, shirt above.
    std::vector<Ring> torso = {
        {Vec3(0, 21, -2), 7.5, 6.0, rigid(0), TROUSERS},
        {Vec3(0, 25, -2), 8.5, 6.6, rigid(0), TROUSERS},
        {Vec3(0, 29, -2), 8.0, 6.2, blend(0, 9, 0.5f), SHIRT},
        {Vec3(0, 33, -1.8), 7.2, 5.6, rigid(9), SHIRT},
        {Vec3(0, 36, -1.5), 7.3, 5.6, blend(9, 10, 0.5f), SHIRT},
        {Vec3(0, 40, -1.2), 8.1, 6.0, rigid(10), SHIRT},
        {Vec3(0, 44, -1), 9.0, 6.3, blend(10, 11, 0.5f), SHIRT},
        {Vec3(0, 48.5, -1), 9.6, 6.2, rigid(11), SHIRT},
        {Vec3(0, 52.5, -0.8), 9.0, 5.4, rigid(11), SHIRT},
        {Vec3(0, 54.5, -0.6), 4.5, 3.6, rigid(11), SHIRT},
    };
    addTube(m, torso, 12, Vec3(-1, 0, 0), 10);
    std::vector<Ring> neck = {
        {Vec3(0, 53.5, -0.6), 2.4, 2.4, rigid(11), SKIN},
        {Vec3(0, 56, -0.2), 2.3, 2.3, blend(12, 11, 0.7f), SKIN},
        {Vec3(0, 58, 0), 2.2, 2.2, rigid(13), SKIN},
    };
    addTube(m, neck, 8, Vec3(-1, 0, 0), 4);
    // The head: an ellipsoid of latitude rings, the face toward +z (u = 0.25 of the face texture).
    std::vector<Ring> head;
    const Vec3 centre(0, 61, 0.6);
    for (int k = 0; k <= 8; ++k) {
        double lat = (-80 + 20 * k) * PI / 180;
        head.push_back({centre + Vec3(0, 5.0 * std::sin(lat), 0), 4.3 * std::cos(lat), 4.8 * std::cos(lat),
                        rigid(13), FACE});
    }
    addTube(m, head, 12, Vec3(-1, 0, 0), 10.0);
}

} // namespace

void buildPaddlerMesh(DraftModel& m) {
    addBody(m);
    addLeg(m, 1);
    addLeg(m, 5);
    addArm(m, 16, -1);
    addArm(m, 35, 1);
    // Group the faces by material so that drawing switches material as seldom as possible.
    std::stable_sort(m.faces.begin(), m.faces.end(),
                     [](const DraftFace& a, const DraftFace& b) { return a.material < b.material; });
    m.textures = {{"shirt", 1, "paddler_shirt.bmp"},
                  {"trousers", 2, "paddler_trousers.bmp"},
                  {"skin", 3, "paddler_skin.tga"},
                  {"face", 4, "paddler_face.tga"}};
    uint32_t grey = packColour(90, 90, 90), white = packColour(230, 230, 230), dull = packColour(20, 20, 20);
    m.materials = {{"shirt", white, grey, dull, 4, {1}},
                   {"trousers", white, grey, dull, 4, {2}},
                   {"skin", white, grey, packColour(40, 40, 40), 10, {3}},
                   {"face", white, grey, packColour(40, 40, 40), 10, {4}}};
}

void buildPaddleModel(DraftModel& m) {
    m.name = "paddle";
    DraftNode root;
    root.name = "paddle";
    for (int k = 0; k < 16; ++k)
        root.rest[k] = (k % 5 == 0) ? 1.0f : 0.0f;
    m.nodes = {root};
    Bind b = rigid(0);
    std::vector<Ring> shaft = {{Vec3(0, 0, -9), 0.55, 0.55, b, 0}, {Vec3(0, 0, 19.5), 0.55, 0.55, b, 0}};
    addTube(m, shaft, 8, Vec3(1, 0, 0), 30);
    addBox(m, Vec3(0, 0, 20.3), Vec3(1.7, 0.6, 0.9), b, 0);
    // The blade: a flat six-sided plate from the throat (z = -8) to the tip (z = -28), faces along y.
    const double outline[6][2] = {{1.0, -8}, {3.4, -12}, {3.4, -25}, {1.6, -28}, {-1.6, -28}, {-3.4, -25}};
    double pts[8][2];
    for (int k = 0; k < 6; ++k) {
        pts[k][0] = outline[k][0];
        pts[k][1] = outline[k][1];
    }
    pts[6][0] = -3.4;
    pts[6][1] = -12;
    pts[7][0] = -1.0;
    pts[7][1] = -8;
    for (int side = -1; side <= 1; side += 2) {
        Vec3 nrm(0, side, 0);
        int idx[8];
        for (int k = 0; k < 8; ++k)
            idx[k] = addVertex(m, Vec3(pts[k][0], 0.3 * side, pts[k][1]), b);
        for (int k = 1; k + 1 < 8; ++k) {
            int t[3] = {idx[0], idx[side > 0 ? k : k + 1], idx[side > 0 ? k + 1 : k]};
            Vec3 nn[3] = {nrm, nrm, nrm};
            double uv[6];
            int order[3] = {0, side > 0 ? k : k + 1, side > 0 ? k + 1 : k};
            for (int c = 0; c < 3; ++c) {
                uv[2 * c] = pts[order[c]][0] / 8 + 0.5;
                uv[2 * c + 1] = (pts[order[c]][1] + 28) / 50;
            }
            addFace(m, 0, t, nn, uv);
        }
    }
    for (int k = 0; k < 8; ++k) {
        int n = (k + 1) % 8;
        Vec3 edge(pts[n][0] - pts[k][0], 0, pts[n][1] - pts[k][1]);
        Vec3 nrm = unit(cross(edge, Vec3(0, 1, 0)));
        int a = addVertex(m, Vec3(pts[k][0], -0.3, pts[k][1]), b),
            c = addVertex(m, Vec3(pts[n][0], -0.3, pts[n][1]), b);
        int d = addVertex(m, Vec3(pts[n][0], 0.3, pts[n][1]), b),
            e = addVertex(m, Vec3(pts[k][0], 0.3, pts[k][1]), b);
        Vec3 nn[3] = {nrm, nrm, nrm};
        double uv[6] = {0.1, 0.1, 0.2, 0.1, 0.2, 0.2};
        int t1[3] = {a, c, d}, t2[3] = {a, d, e};
        addFace(m, 0, t1, nn, uv);
        addFace(m, 0, t2, nn, uv);
    }
    m.textures = {{"wood", 1, "paddle_wood.bmp"}};
    m.materials = {
        {"wood", packColour(235, 225, 210), packColour(100, 90, 80), packColour(90, 90, 90), 30, {1}}};
}
