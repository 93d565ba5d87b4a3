// The generated paddler's mesh: low-poly elliptic tubes along the bone chains (rings rigid on one bone,
// joint rings blended between two), fists of palm, fingers and thumb closed round the paddle's shaft, a
// torso and head of shaped grids (a vest over the shirt, shoulder caps shared by three bones, nose, ears,
// jaw, a felt hat); and the paddle on its own bone.
#include "assets/generator_math.h"
#include "assets/paddler_rig.h"

#include <algorithm>
#include <cmath>

namespace {

const double PI = 3.14159265358979323846;
enum { SHIRT, TROUSERS, SKIN, FACE, VEST, HAT, BAND, DARK, HAIR };

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
        dir[r] = unitVector(b - a);
        uAxis[r] = unitVector(ref - dir[r] * dot(ref, dir[r]));
        wAxis[r] = cross(dir[r], uAxis[r]);
        if (r > 0)
            v[r] = v[r - 1] + std::sqrt(dot(rings[r].centre - rings[r - 1].centre,
                                            rings[r].centre - rings[r - 1].centre)) /
                                  vScale;
    }
    for (int r = 0; r < n; ++r) {
        const Ring& ring = rings[r];
        int pr = r > 0 ? r - 1 : r, nx = r + 1 < n ? r + 1 : r;
        double span =
            std::sqrt(dot(rings[nx].centre - rings[pr].centre, rings[nx].centre - rings[pr].centre));
        double slope =
            span > 0 ? ((rings[nx].rx + rings[nx].rz) - (rings[pr].rx + rings[pr].rz)) / 2 / span : 0;
        for (int s = 0; s <= sides; ++s) {
            double a = 2 * PI * s / sides;
            Vec3 p = ring.centre + uAxis[r] * (ring.rx * std::cos(a)) + wAxis[r] * (ring.rz * std::sin(a));
            index[r][s] = addVertex(m, p, ring.bind);
            Vec3 en = uAxis[r] * (std::cos(a) / ring.rx) + wAxis[r] * (std::sin(a) / ring.rz);
            normal[r][s] = unitVector(unitVector(en) + dir[r] * -slope);
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
    return a + (b - a) * t;
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
    Vec3 toeEnd = j[b + 3] + unitVector(j[b + 3] - j[b + 2]) * 2.2;
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

// A binding from up to four weighted bones (rig indices): the three heaviest, normalised; a single bone
// is a rigid binding.
struct Share {
    int bone;
    double weight;
};
Bind weighted(std::vector<Share> shares) {
    std::stable_sort(shares.begin(), shares.end(),
                     [](const Share& a, const Share& b) { return a.weight > b.weight; });
    if (shares.size() > 3) shares.resize(3);
    while (shares.size() > 1 && shares.back().weight < 0.02)
        shares.pop_back();
    if (shares.size() == 1) return rigid(shares[0].bone);
    double sum = 0;
    for (const Share& s : shares)
        sum += s.weight;
    Bind b{{0, 0, 0}, {0, 0, 0}};
    for (size_t k = 0; k < shares.size(); ++k) {
        b.bone[k] = shares[k].bone + 1;
        b.weight[k] = float(shares[k].weight / sum);
    }
    return b;
}

// Up the spine each bone owns the body between its joint and the next, blended across a zone about
// each joint: hips, spine, upper spine, chest, neck, head.
std::vector<Share> spineShares(double y) {
    struct Zone {
        double at, half;
        int lower, upper;
    };
    const Zone zones[] = {
        {28.5, 2.0, 0, 9}, {36, 2.5, 9, 10}, {44, 3.0, 10, 11}, {55.4, 1.0, 11, 12}, {57.6, 0.9, 12, 13}};
    for (const Zone& z : zones) {
        if (y <= z.at - z.half) return {{z.lower, 1}};
        if (y < z.at + z.half) {
            double t = smoothstep(z.at - z.half, z.at + z.half, y);
            return {{z.lower, 1 - t}, {z.upper, t}};
        }
    }
    return {{13, 1}};
}

// The torso's binding at rest point p: the spine's, with the chest's share split toward the clavicle
// and the upper arm over the shoulder, so the top of the shoulder follows both.
Bind torsoBind(const Vec3& p) {
    std::vector<Share> s = spineShares(p.y);
    int clavicle = p.x > 0 ? 35 : 16;
    double lateral = std::fabs(p.x);
    double toClavicle = smoothstep(2.5, 6.5, lateral) * smoothstep(45.5, 50.5, p.y);
    double toArm = 0.5 * smoothstep(7.0, 10.0, lateral) * smoothstep(48.5, 53.0, p.y);
    std::vector<Share> out;
    for (const Share& k : s) {
        if (k.bone != 11) {
            out.push_back(k);
            continue;
        }
        out.push_back({11, k.weight * (1 - toClavicle) * (1 - toArm)});
        out.push_back({clavicle, k.weight * toClavicle * (1 - toArm)});
        out.push_back({clavicle + 1, k.weight * toArm});
    }
    return weighted(out);
}

// A surface from a grid of points, 'cols' a row (the last repeating the first where it closes round),
// rows in order; every point is one vertex with its own binding and texture coordinates, its normal
// the area-weighted mean of the faces about it. 'material[r]' is the band from row r to r + 1.
// Faces wind so that the normal is (next column - this) x (next row - this): rows going up and columns
// going from -x toward +z face outward.
struct GridPoint {
    Vec3 p;
    Bind bind;
    double u, v;
};
void addGrid(DraftModel& m, const std::vector<GridPoint>& g, int cols, const std::vector<int>& material) {
    int rows = int(g.size()) / cols;
    std::vector<Vec3> normal(g.size(), Vec3());
    auto at = [&](int r, int c) { return r * cols + c; };
    auto faceNormal = [&](int a, int b, int c) { return cross(g[b].p - g[a].p, g[c].p - g[a].p); };
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < cols; ++c) {
            int a = at(r, c), b = at(r, c + 1), d = at(r + 1, c + 1), e = at(r + 1, c);
            Vec3 n1 = faceNormal(a, b, d), n2 = faceNormal(a, d, e);
            for (int k : {a, b, d})
                normal[k] = normal[k] + n1;
            for (int k : {a, d, e})
                normal[k] = normal[k] + n2;
        }
    // The seam's two columns (where the row closes round) and a row shrunk to a point (a pole) share one
    // normal.
    for (int r = 0; r < rows; ++r) {
        if (length(g[at(r, 0)].p - g[at(r, cols - 1)].p) < 1e-6) {
            Vec3 seam = normal[at(r, 0)] + normal[at(r, cols - 1)];
            normal[at(r, 0)] = normal[at(r, cols - 1)] = seam;
        }
        bool pole = true;
        Vec3 sum;
        for (int c = 0; c < cols; ++c) {
            pole = pole && length(g[at(r, c)].p - g[at(r, 0)].p) < 1e-6;
            sum = sum + normal[at(r, c)];
        }
        if (pole)
            for (int c = 0; c < cols; ++c)
                normal[at(r, c)] = sum;
    }
    std::vector<int> index(g.size());
    for (size_t k = 0; k < g.size(); ++k) {
        index[k] = addVertex(m, g[k].p, g[k].bind);
        normal[k] = length(normal[k]) > 1e-12 ? unitVector(normal[k]) : Vec3(0, 1, 0);
    }
    auto emit = [&](int mat, int a, int b, int c) {
        if (length(faceNormal(a, b, c)) < 1e-9) return; // the sliver at a pole
        int v[3] = {index[a], index[b], index[c]};
        Vec3 n[3] = {normal[a], normal[b], normal[c]};
        double uv[6] = {g[a].u, g[a].v, g[b].u, g[b].v, g[c].u, g[c].v};
        addFace(m, mat, v, n, uv);
    };
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < cols; ++c) {
            int a = at(r, c), b = at(r, c + 1), d = at(r + 1, c + 1), e = at(r + 1, c);
            emit(material[r], a, b, d);
            emit(material[r], a, d, e);
        }
}

// A rounded cross-section: half width w across x, 'front' and 'back' of a centre z, at angle a (0 at -x,
// a quarter turn at the front); 'square' above 1 flattens the sides toward a box.
Vec3 section(double a, double y, double w, double z, double front, double back, double square) {
    double c = std::cos(a), s = std::sin(a);
    double cx = (c < 0 ? -1 : 1) * std::pow(std::fabs(c), 1 / square);
    double sz = (s < 0 ? -1 : 1) * std::pow(std::fabs(s), 1 / square);
    return Vec3(-w * cx, y, z + sz * (s > 0 ? front : back));
}

struct BodyRow {
    double y, w, z, front, back;
    int material; // of the band above this row
};

const int TORSO_COLS = 24;
// The torso from the seat to the base of the neck: hips in the trousers, a belt, the shirt; the top rows
// slope in from the shoulders to the neck.
const BodyRow TORSO[] = {
    {20.8, 0.0, -2.0, 0.0, 0.0, TROUSERS}, {21.0, 6.8, -2.0, 5.0, 5.2, TROUSERS},
    {23.5, 8.4, -2.0, 6.0, 6.3, TROUSERS}, {26.8, 8.5, -2.0, 6.0, 6.1, BAND},
    {28.4, 8.3, -2.0, 5.9, 5.9, SHIRT},    {31.0, 7.8, -1.8, 5.8, 5.6, SHIRT},
    {34.0, 7.6, -1.6, 5.8, 5.5, SHIRT},    {38.0, 8.2, -1.4, 6.0, 5.7, SHIRT},
    {42.0, 9.0, -1.2, 6.3, 5.9, SHIRT},    {46.0, 9.6, -1.0, 6.5, 5.9, SHIRT},
    {49.5, 9.8, -1.0, 6.2, 5.8, SHIRT},    {52.0, 9.5, -0.9, 5.4, 5.4, SHIRT},
    {54.0, 8.0, -0.8, 4.2, 4.6, SHIRT},    {55.3, 5.0, -0.6, 3.2, 3.6, SHIRT},
    {56.2, 2.7, -0.5, 2.5, 2.7, SHIRT},
};

Vec3 torsoPoint(const BodyRow& r, double a) {
    return section(a, r.y, r.w, r.z, r.front, r.back, 1.35);
}

// A surface given by rows of cross-sections rising in y: its point at height y (between the two rows
// round it, or beyond the end rows) and angle a.
template <class Row, int N>
Vec3 between(const Row (&rows)[N], Vec3 (*point)(const Row&, double), double y, double a) {
    int r = 0;
    while (r + 2 < N && rows[r + 1].y < y)
        ++r;
    double t = (y - rows[r].y) / (rows[r + 1].y - rows[r].y);
    return lerp(point(rows[r], a), point(rows[r + 1], a), t);
}

// The torso's surface at height y and angle a.
Vec3 torsoAt(double y, double a) {
    return between(TORSO, torsoPoint, y, a);
}

// The paddling vest over the shirt: foam panels standing off the torso, open at the neck, its hem and
// collar turned in to the shirt; bound like the torso beneath it.
void addVest(DraftModel& m) {
    // Heights and the foam's thickness there.
    const double rows[][2] = {{31.6, 0.0}, {31.8, 0.7}, {34, 0.9}, {38, 1.05},  {42, 1.15},   {46, 1.15},
                              {49.5, 1.1}, {52, 0.95},  {54, 0.8}, {54.7, 0.7}, {55.1, 0.45}, {55.45, 0}};
    std::vector<GridPoint> g;
    int n = int(sizeof rows / sizeof rows[0]);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c <= TORSO_COLS; ++c) {
            double a = 2 * PI * c / TORSO_COLS;
            Vec3 p = torsoAt(rows[r][0], a);
            Vec3 out = p - Vec3(0, p.y, torsoAt(rows[r][0], 0).z);
            out = length(out) > 1e-9 ? unitVector(out) : Vec3();
            // The foam stands off the front and back more than the sides, under the arms.
            double side = std::fabs(std::cos(a));
            g.push_back({p + out * (rows[r][1] * (1 - 0.35 * side)), torsoBind(p), double(c) / TORSO_COLS,
                         double(r) / (n - 1)});
        }
    }
    addGrid(m, g, TORSO_COLS + 1, std::vector<int>(n - 1, VEST));
    // Two buckles on the front straps.
    for (double y : {36.5, 43.0}) {
        Vec3 at(0, y, torsoAt(y, PI / 2).z + 1.6);
        addBox(m, at, Vec3(1.1, 0.45, 0.25), torsoBind(at), DARK);
    }
}

// The shoulder cap: an ellipsoid about the shoulder joint over the top of the arm, its vertices shared
// among the chest, the clavicle and the upper arm by where they lie along the arm.
void addShoulder(DraftModel& m, int clavicle) {
    const Vec3 s = rigJoint[clavicle + 1];
    Vec3 along = unitVector(rigJoint[clavicle + 3] - s);
    Vec3 side = unitVector(cross(along, Vec3(0, 0, 1)));
    Vec3 third = cross(along, side);
    const int rows = 9, cols = 13;
    std::vector<GridPoint> g;
    for (int r = 0; r < rows; ++r) {
        double lat = -PI / 2 + PI * r / (rows - 1);
        for (int c = 0; c < cols; ++c) {
            double a = 2 * PI * c / (cols - 1);
            Vec3 d = along * std::sin(lat) * 3.2 +
                     (side * std::cos(a) * 3.3 + third * std::sin(a) * 3.2) * std::cos(lat);
            Vec3 p = s + Vec3(0, 0.2, 0) + d;
            double t = std::sin(lat);
            double arm = std::fmin(0.85, std::fmax(0.15, 0.45 + 0.4 * t));
            Bind b = weighted({{11, (1 - arm) * 0.4}, {clavicle, (1 - arm) * 0.6}, {clavicle + 1, arm}});
            g.push_back({p, b, double(c) / (cols - 1), double(r) / (rows - 1)});
        }
    }
    // Rows run from the body's side toward the elbow; flip the columns' order where that faces inward.
    Vec3 n = cross(g[4 * cols + 1].p - g[4 * cols].p, g[5 * cols].p - g[4 * cols].p);
    if (dot(n, g[4 * cols].p - s) < 0)
        for (int r = 0; r < rows; ++r)
            std::reverse(g.begin() + r * cols, g.begin() + (r + 1) * cols);
    addGrid(m, g, cols, std::vector<int>(rows - 1, SHIRT));
}

void addBody(DraftModel& m) {
    std::vector<GridPoint> g;
    int n = int(sizeof TORSO / sizeof TORSO[0]);
    std::vector<int> material;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c <= TORSO_COLS; ++c) {
            Vec3 p = torsoPoint(TORSO[r], 2 * PI * c / TORSO_COLS);
            g.push_back({p, torsoBind(p), double(c) / TORSO_COLS, (TORSO[r].y - 20) / 10});
        }
        if (r + 1 < n) material.push_back(TORSO[r].material);
    }
    addGrid(m, g, TORSO_COLS + 1, material);
    addVest(m);
    addShoulder(m, 16);
    addShoulder(m, 35);
    // The neck, blended from the chest through the neck bone into the head.
    std::vector<Ring> neck;
    for (double y : {55.0, 56.2, 57.2, 58.2, 59.4})
        neck.push_back({Vec3(0, y, -0.5 + 0.12 * (y - 55)), 2.45 - 0.08 * (y - 55), 2.55 - 0.08 * (y - 55),
                        weighted(spineShares(y)), SKIN});
    addTube(m, neck, 10, Vec3(-1, 0, 0), 4);
}

// The head's outline, chin to crown: half width, front and back of the profile at each height.
struct HeadRow {
    double y, w, front, back;
};
const HeadRow HEAD[] = {
    {57.3, 0.0, 2.4, 2.4},    {57.45, 1.3, 4.0, 1.2},  {57.9, 2.3, 4.6, -0.6}, {58.9, 3.0, 4.8, -2.2},
    {60.0, 3.45, 4.9, -3.2},  {61.3, 3.75, 4.7, -3.9}, {62.6, 3.9, 4.6, -4.3}, {63.8, 3.95, 4.75, -4.5},
    {65.0, 3.85, 4.45, -4.5}, {66.2, 3.45, 3.8, -4.2}, {67.2, 2.6, 2.7, -3.4}, {67.9, 1.4, 1.3, -2.1},
    {68.2, 0.0, -0.3, -0.3},
};
const int HEAD_COLS = 24;
const double HEAD_BOTTOM = 57.3, HEAD_TOP = 68.2;

// The skull and face on the head bone, the jaw and chin on the jaw bone; u = 0.25 of the face texture
// is the middle of the face, v runs from the chin (0) to the crown (1).
Vec3 headPoint(const HeadRow& h, double a) {
    double mid = (h.front + h.back) / 2, half = (h.front - h.back) / 2;
    Vec3 p = section(a, h.y, h.w, mid, half, half, 1.15);
    // The jaw narrows toward the chin in front while it stays wide under the ears.
    double front = std::fmax(0, std::sin(a));
    p.x *= 1 - 0.4 * (1 - smoothstep(57.6, 60.8, h.y)) * front * front;
    return p;
}

// The head's surface at height y and angle a.
Vec3 headAt(double y, double a) {
    return between(HEAD, headPoint, y, a);
}

// Hair on the hair bone: a shell over the back of the head from behind one ear to behind the other,
// from the nape up under the hat, thickest in its middle and meeting the scalp at its edges.
void addHair(DraftModel& m) {
    const int rows = 6, cols = 13;
    const double from = PI + 0.4, to = 2 * PI - 0.4, low = 59.6, high = 64.4;
    std::vector<GridPoint> g;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            double fr = double(r) / (rows - 1), fc = double(c) / (cols - 1);
            double y = low + (high - low) * fr, a = from + (to - from) * fc;
            Vec3 p = headAt(y, a);
            Vec3 out = unitVector(p - Vec3(0, p.y, -0.2));
            double thick = 0.6 * std::sqrt(std::sin(PI * fr) * std::sin(PI * fc));
            g.push_back({p + out * thick, rigid(15), fc, fr});
        }
    addGrid(m, g, cols, std::vector<int>(rows - 1, HAIR));
}

void addHead(DraftModel& m) {
    std::vector<GridPoint> g;
    int n = int(sizeof HEAD / sizeof HEAD[0]);
    for (int r = 0; r < n; ++r) {
        const HeadRow& h = HEAD[r];
        for (int c = 0; c <= HEAD_COLS; ++c) {
            double a = 2 * PI * c / HEAD_COLS;
            Vec3 p = headPoint(h, a);
            // Below the mouth the front belongs to the jaw; the nape stays on the head.
            double jaw = (1 - smoothstep(58.6, 59.8, h.y)) * smoothstep(-0.2, 0.5, std::sin(a));
            Bind b = weighted({{13, 1 - jaw}, {14, jaw}});
            g.push_back({p, b, double(c) / HEAD_COLS, (h.y - HEAD_BOTTOM) / (HEAD_TOP - HEAD_BOTTOM)});
        }
    }
    addGrid(m, g, HEAD_COLS + 1, std::vector<int>(n - 1, FACE));
    // The nose: a wedge from the bridge between the eyes to the tip, flat-faced.
    const Vec3 bridge(0, 63.0, 4.4), tip(0, 60.9, 5.95), left(0.85, 60.45, 4.75), right(-0.85, 60.45, 4.75),
        under(0, 60.35, 5.2);
    const Vec3 nose[4][3] = {
        {bridge, left, tip}, {bridge, tip, right}, {tip, left, under}, {tip, under, right}};
    for (const auto& t : nose) {
        Vec3 nn = unitVector(cross(t[2] - t[0], t[1] - t[0]));
        int v[3];
        for (int k = 0; k < 3; ++k)
            v[k] = addVertex(m, t[k], rigid(13));
        Vec3 ns[3] = {nn, nn, nn};
        double uv[6] = {0.5, 0.5, 0.55, 0.5, 0.5, 0.55};
        addFace(m, SKIN, v, ns, uv);
    }
    // The ears: short flat tubes out of the sides of the head, behind the cheeks.
    for (double side : {-1.0, 1.0}) {
        std::vector<Ring> ear = {
            {Vec3(3.3 * side, 62.2, -0.9), 1.1, 0.7, rigid(13), SKIN},
            {Vec3(4.1 * side, 62.3, -1.1), 1.35, 0.85, rigid(13), SKIN},
            {Vec3(4.45 * side, 62.4, -1.3), 1.05, 0.6, rigid(13), SKIN},
        };
        addTube(m, ear, 8, Vec3(0, 1, 0), 3);
    }
}

// A felt hat on the hair bone: the brim's underside out to its edge, back over its top, the band and the
// crown up to a shallow dent on top. x and z radii of the crown follow the head's.
void addHat(DraftModel& m) {
    struct HatRow {
        double r, y;
        int material;
    };
    const HatRow profile[] = {{4.75, 64.3, HAT},   {6.95, 63.7, HAT}, {7.4, 63.9, HAT},  {7.05, 64.22, HAT},
                              {4.95, 64.75, BAND}, {4.9, 65.9, HAT},  {4.75, 68.2, HAT}, {4.2, 69.6, HAT},
                              {3.0, 70.1, HAT},    {1.5, 69.75, HAT}, {0.0, 69.6, HAT}};
    const int cols = 33;
    const double zCentre = 0.05, xScale = 0.9;
    int n = int(sizeof profile / sizeof profile[0]);
    std::vector<GridPoint> g;
    std::vector<int> material;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < cols; ++c) {
            double a = 2 * PI * c / (cols - 1);
            double rr = profile[r].r;
            // The brim dips a little at the front and back and turns up at the sides.
            double y = profile[r].y + (rr > 5.5 ? 0.35 * (rr - 5.5) / 1.9 * (std::cos(2 * a)) : 0);
            Vec3 p(-std::cos(a) * rr * xScale, y, zCentre + std::sin(a) * rr);
            g.push_back({p, rigid(15), double(c) / (cols - 1), double(r) / (n - 1)});
        }
        if (r + 1 < n) material.push_back(profile[r].material);
    }
    addGrid(m, g, cols, material);
}

} // namespace

void buildPaddlerMesh(DraftModel& m) {
    addBody(m);
    addHead(m);
    addHair(m);
    addHat(m);
    addLeg(m, 1);
    addLeg(m, 5);
    addArm(m, 16, -1);
    addArm(m, 35, 1);
    // Group the faces by material so that drawing switches material as seldom as possible.
    std::stable_sort(m.faces.begin(), m.faces.end(),
                     [](const DraftFace& a, const DraftFace& b) { return a.material < b.material; });
    m.textures = {{"shirt", 1, "paddler_shirt.bmp"}, {"trousers", 2, "paddler_trousers.bmp"},
                  {"skin", 3, "paddler_skin.tga"},   {"face", 4, "paddler_face.tga"},
                  {"vest", 5, "paddler_vest.bmp"},   {"hat", 6, "paddler_hat.bmp"}};
    uint32_t grey = packColour(90, 90, 90), white = packColour(230, 230, 230), dull = packColour(20, 20, 20);
    m.materials = {{"shirt", white, grey, dull, 4, {1}},
                   {"trousers", white, grey, dull, 4, {2}},
                   {"skin", white, grey, packColour(40, 40, 40), 10, {3}},
                   {"face", white, grey, packColour(40, 40, 40), 10, {4}},
                   {"vest", white, grey, packColour(60, 60, 60), 12, {5}},
                   {"hat", white, grey, dull, 4, {6}},
                   {"band", packColour(60, 40, 28), packColour(30, 20, 14), dull, 8, {}},
                   {"dark", packColour(25, 25, 25), packColour(15, 15, 15), packColour(80, 80, 80), 20, {}},
                   {"hair", packColour(72, 48, 30), packColour(36, 24, 15), packColour(30, 30, 30), 6, {}}};
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
        Vec3 nrm = unitVector(cross(edge, Vec3(0, 1, 0)));
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
