// The boat itself: gum-sealed bottom, bark skin (both faces), gunwales, root lashing at the stems and
// along the gunwales, end decks with headboards, seats and their woven nets, ribs and rib ends.
#include "assets/canoe_shapes.h"

#include "assets/canoe_hull.h"

#include <algorithm>
#include <cmath>

// The skin's grid is as coarse as the canoe's size on screen allows (160 to 400 pixels long): finer
// grids cost drawing time every frame and show nothing more.
static const int STATIONS = 48; // intervals along the length, closer together toward the ends
static const int ROWS = 12;     // intervals from keel to sheer on each side
static const int BAND_ROWS = 3; // of which the gum-sealed bottom takes these

static double stationU(int i) {
    return std::sin(M_PI / 2 * (-1.0 + 2.0 * i / STATIONS));
}

// Height of row k (0 at the keel, ROWS at the sheer) at station u: the bottom band's rows end where
// the outer surface crosses HULL_WATERLINE_BAND, so its top edge is level along the boat.
static double rowHeight(double u, int k) {
    double band = hullHeightAtY(u, HULL_WATERLINE_BAND);
    if (k <= BAND_ROWS) return band * k / BAND_ROWS;
    return band + (1.0 - band) * (k - BAND_ROWS) / (ROWS - BAND_ROWS);
}

// Rows j from 0 (sheer, side -1) through ROWS (keel) to 2 ROWS (sheer, side +1).
static int rowSide(int j) {
    return j < ROWS ? -1 : 1;
}
static int rowIndex(int j) {
    return std::abs(j - ROWS);
}

static void addSkin(ShapeMesh& mesh, int firstRow, int lastRow, bool inner) {
    int first = static_cast<int>(mesh.vertices.size());
    for (int i = 0; i <= STATIONS; i++) {
        double u = stationU(i);
        for (int j = firstRow; j <= lastRow; j++) {
            double h = rowHeight(u, rowIndex(j));
            int side = rowSide(j);
            Vec3 n = hullNormal(u, h, side);
            if (inner)
                mesh.add(hullInnerPoint(u, h, side), n * -1.0);
            else
                mesh.add(hullPoint(u, h, side), n);
        }
    }
    mesh.grid(first, STATIONS + 1, lastRow - firstRow + 1);
}

ShapeMesh makeOuterHull() {
    ShapeMesh mesh;
    addSkin(mesh, ROWS - BAND_ROWS, ROWS + BAND_ROWS, false);
    return mesh;
}

ShapeMesh makeInnerHull() {
    ShapeMesh mesh;
    addSkin(mesh, 0, 2 * ROWS, true);          // the bark's inner face
    addSkin(mesh, 0, ROWS - BAND_ROWS, false); // its outer face above the sealed bottom
    addSkin(mesh, ROWS + BAND_ROWS, 2 * ROWS, false);
    return mesh;
}

// One rail: a rectangle section following the sheer, with flat-shaded faces.
static void addGunwale(ShapeMesh& mesh, int side) {
    const int n = 40;
    const double inwardMax = 0.9, outward = 0.55, above = 0.3, below = 1.0;
    for (int face = 0; face < 4; face++) {
        int first = static_cast<int>(mesh.vertices.size());
        for (int i = 0; i <= n; i++) {
            double u = 0.985 * std::sin(M_PI / 2 * (-1.0 + 2.0 * i / n));
            Vec3 top = hullPoint(u, 1.0, side);
            double inward = std::min(inwardMax, hullHalfBeam(u) * 0.5);
            double xIn = top.x - side * inward, xOut = top.x + side * outward;
            double yTop = top.y + above, yBottom = top.y - below;
            Vec3 a, b, normal;
            if (face == 0) a = {xIn, yTop, top.z}, b = {xOut, yTop, top.z}, normal = {0, 1, 0};
            if (face == 1) a = {xOut, yTop, top.z}, b = {xOut, yBottom, top.z}, normal = {1.0 * side, 0, 0};
            if (face == 2) a = {xOut, yBottom, top.z}, b = {xIn, yBottom, top.z}, normal = {0, -1, 0};
            if (face == 3) a = {xIn, yBottom, top.z}, b = {xIn, yTop, top.z}, normal = {-1.0 * side, 0, 0};
            mesh.add(a, normal);
            mesh.add(b, normal);
        }
        mesh.grid(first, n + 1, 2);
    }
}

ShapeMesh makeGunwales() {
    ShapeMesh mesh;
    addGunwale(mesh, -1);
    addGunwale(mesh, 1);
    return mesh;
}

// A wrap of root around the rail at station u: a band with a ridge along its middle, its edges on the
// rail's faces and its ridge a quarter unit off them, shaded round. A wrap is a pixel or two wide on
// screen, where a strand with a round section would look no different.
static void addWrap(ShapeMesh& mesh, double u, int side) {
    Vec3 top = hullPoint(u, 1.0, side);
    double inward = std::min(0.9, hullHalfBeam(u) * 0.5), outward = 0.55, above = 0.3, below = 1.0;
    // Corners clockwise seen from the stern on side +1: inner top, outer top, outer bottom, inner bottom.
    const double cornerX[4] = {-inward, outward, outward, -inward},
                 cornerY[4] = {above, above, -below, -below};
    const double edgeOffset = 0.04, ridgeOffset = 0.28, halfWidth = 0.16;
    int first = static_cast<int>(mesh.vertices.size());
    for (int c = 0; c < 4; c++) {
        double dx = cornerX[c] > 0 ? 1 : -1, dy = cornerY[c] > 0 ? 1 : -1;
        Vec3 diagonal = {side * dx, dy, 0};
        auto at = [&](double offset, double z) {
            return Vec3{top.x + side * (cornerX[c] + dx * offset), top.y + cornerY[c] + dy * offset,
                        top.z + z};
        };
        mesh.add(at(edgeOffset, -halfWidth), diagonal + Vec3{0, 0, -1.2});
        mesh.add(at(ridgeOffset, 0), diagonal);
        mesh.add(at(edgeOffset, halfWidth), diagonal + Vec3{0, 0, 1.2});
    }
    for (int c = 0; c < 4; c++) {
        int a = first + 3 * c, b = first + 3 * ((c + 1) % 4);
        mesh.quad(a, b, b + 1, a + 1);
        mesh.quad(a + 1, b + 1, b + 2, a + 2);
    }
}

ShapeMesh makeStemLines() {
    ShapeMesh mesh;
    for (int end = -1; end <= 1; end += 2) {
        // Along the forefoot, then up the stem to its curled head.
        std::vector<Vec3> path;
        for (int i = 0; i <= 4; i++)
            path.push_back(hullPoint(end * (0.9 + 0.1 * i / 4), 0.0, 1));
        for (int i = 1; i <= 14; i++)
            path.push_back(hullPoint(end * 1.0, i / 14.0, 1));
        mesh.tube(path, std::vector<double>(path.size(), 0.55), 6);
    }
    // Groups of three wraps along both gunwales, closer together toward the ends.
    for (int g = 0; g <= 16; g++) {
        double u = 0.95 * std::sin(M_PI / 2 * (-1.0 + 2.0 * g / 16));
        double step = 0.9 / HULL_HALF_LENGTH;
        for (int side = -1; side <= 1; side += 2)
            for (int k = -1; k <= 1; k++)
                addWrap(mesh, u + k * step, side);
    }
    return mesh;
}

// Flat deck between the rails over the last stretch of each end, and the headboard under its inner edge.
ShapeMesh makeDecks() {
    ShapeMesh mesh;
    for (int end = -1; end <= 1; end += 2) {
        const int n = 10, across = 6;
        int first = static_cast<int>(mesh.vertices.size());
        for (int i = 0; i <= n; i++) {
            double u = end * (0.86 + 0.125 * i / n);
            Vec3 a = gunwaleInnerRim(u, -1), b = gunwaleInnerRim(u, 1);
            for (int k = 0; k <= across; k++) {
                double f = static_cast<double>(k) / across;
                Vec3 p = a + (b - a) * f;
                p.y += 0.25 * std::sin(M_PI * f) - 0.55; // a slight crown, below the rails
                mesh.add(p, {0, 1, 0});
            }
        }
        mesh.grid(first, n + 1, across + 1);
        // The deck climbs steeply with the sheer: shade it by its true slope, facing up.
        for (int i = 0; i <= n; i++)
            for (int k = 0; k <= across; k++) {
                auto at = [&](int ii, int kk) {
                    return mesh
                        .vertices[first + std::clamp(ii, 0, n) * (across + 1) + std::clamp(kk, 0, across)];
                };
                Vec3 normal = normalized(cross(at(i, k + 1) - at(i, k - 1), at(i + 1, k) - at(i - 1, k)));
                if (normal.y < 0) normal = normal * -1.0;
                mesh.normals[first + i * (across + 1) + k] = normal;
            }
        // Headboard: a fan from its middle to the inside of the hull at the deck's inner edge.
        double u = end * 0.86;
        Vec3 centre = hullInsidePoint(u, 0.6, 1, 0.3);
        centre.x = HULL_X;
        int hub = mesh.add(centre, {0, 0, -1.0 * end});
        int firstRim = static_cast<int>(mesh.vertices.size());
        const int m = 16;
        for (int j = 0; j <= 2 * m; j++) {
            int side = j < m ? -1 : 1;
            double h = std::abs(j - m) / static_cast<double>(m);
            Vec3 p = j == 0 || j == 2 * m ? gunwaleInnerRim(u, side) : hullInsidePoint(u, h, side, 0.3);
            mesh.add(p, {0, 0, -1.0 * end});
        }
        for (int j = 0; j < 2 * m; j++)
            mesh.triangle(hub, firstRim + j, firstRim + j + 1);
        mesh.triangle(hub, firstRim + 2 * m, firstRim); // closes under the deck edge
    }
    return mesh;
}

// Inside half-width of the hull at height y at length z, less a small clearance.
static double insideHalfWidth(double z, double y) {
    double u = hullStationAt(z);
    double h = hullHeightAtY(u, y);
    return std::fabs(hullInnerPoint(u, h, 1).x - HULL_X) - 0.1;
}

static const double SEAT_Z[2] = {-51.0, 51.0}; // stern seat (behind the kneeling paddler), bow seat
static const double SEAT_Y[2] = {0.0, 1.0};
static const double SEAT_HALF_DEPTH = 5.0, SEAT_BAR = 1.3, SEAT_THICK = 0.8;

ShapeMesh makeSeats() {
    ShapeMesh mesh;
    for (int s = 0; s < 2; s++) {
        double z0 = SEAT_Z[s] - SEAT_HALF_DEPTH, z1 = SEAT_Z[s] + SEAT_HALF_DEPTH, y = SEAT_Y[s];
        double y0 = y - SEAT_THICK / 2, y1 = y + SEAT_THICK / 2;
        double w0 = insideHalfWidth(z0, y), w1 = insideHalfWidth(z1, y);
        double w = std::min(w0, w1);
        mesh.box({HULL_X - w0, y0, z0}, {HULL_X + w0, y1, z0 + SEAT_BAR});
        mesh.box({HULL_X - w1, y0, z1 - SEAT_BAR}, {HULL_X + w1, y1, z1});
        for (int side = -1; side <= 1; side += 2) {
            double xa = HULL_X + side * (w - 0.4), xb = HULL_X + side * (w - 0.4 - SEAT_BAR);
            mesh.box({std::min(xa, xb), y0, z0 + SEAT_BAR}, {std::max(xa, xb), y1, z1 - SEAT_BAR});
        }
    }
    return mesh;
}

ShapeMesh makeSeatNets() {
    // Only the first 8 vertices and normals are drawn: the two openings of the seat frames.
    ShapeMesh mesh;
    for (int s = 0; s < 2; s++) {
        double z0 = SEAT_Z[s] - SEAT_HALF_DEPTH + SEAT_BAR, z1 = SEAT_Z[s] + SEAT_HALF_DEPTH - SEAT_BAR;
        double w =
            std::min(insideHalfWidth(z0 - SEAT_BAR, SEAT_Y[s]), insideHalfWidth(z1 + SEAT_BAR, SEAT_Y[s]));
        double x0 = HULL_X - (w - 0.4 - SEAT_BAR), x1 = HULL_X + (w - 0.4 - SEAT_BAR), y = SEAT_Y[s];
        int a;
        if (s == 0) { // texture (0,0), (0,1), (1,1), (1,0)
            a = mesh.add({x0, y, z0}, {0, 1, 0});
            mesh.add({x0, y, z1}, {0, 1, 0});
            mesh.add({x1, y, z1}, {0, 1, 0});
            mesh.add({x1, y, z0}, {0, 1, 0});
        } else { // texture (0,0), (1,0), (1,1), (0,1)
            a = mesh.add({x0, y, z0}, {0, 1, 0});
            mesh.add({x1, y, z0}, {0, 1, 0});
            mesh.add({x1, y, z1}, {0, 1, 0});
            mesh.add({x0, y, z1}, {0, 1, 0});
        }
        mesh.quad(a, a + 1, a + 2, a + 3);
    }
    return mesh;
}

static const double RIB_TOP = 0.94, RIB_DEPTH = 0.3, RIB_HALF_WIDTH = 1.2;

static std::vector<double> ribStations() {
    std::vector<double> zs;
    for (double z = -64.0; z <= 72.0; z += 3.6)
        zs.push_back(z);
    return zs;
}

ShapeMesh makeRibs() {
    ShapeMesh mesh;
    const int rows = 6;
    for (double zc : ribStations()) {
        double ua = hullStationAt(zc - RIB_HALF_WIDTH), ub = hullStationAt(zc + RIB_HALF_WIDTH);
        // Top face, then the two edge faces, each as a strip from one rib end across the keel to the other.
        for (int face = 0; face < 3; face++) {
            int first = static_cast<int>(mesh.vertices.size());
            for (int j = 0; j <= 2 * rows; j++) {
                int side = j < rows ? -1 : 1;
                double h = RIB_TOP * std::abs(j - rows) / rows;
                if (face == 0) {
                    mesh.add(hullInsidePoint(ua, h, side, RIB_DEPTH), hullNormal(ua, h, side) * -1.0);
                    mesh.add(hullInsidePoint(ub, h, side, RIB_DEPTH), hullNormal(ub, h, side) * -1.0);
                } else {
                    double u = face == 1 ? ua : ub;
                    Vec3 normal = {0, 0, face == 1 ? -1.0 : 1.0};
                    mesh.add(hullInsidePoint(u, h, side, 0.0), normal);
                    mesh.add(hullInsidePoint(u, h, side, RIB_DEPTH), normal);
                }
            }
            mesh.grid(first, 2 * rows + 1, 2);
        }
    }
    return mesh;
}

ShapeMesh makeRibEnds() {
    ShapeMesh mesh;
    for (double zc : ribStations()) {
        double u = hullStationAt(zc);
        for (int side = -1; side <= 1; side += 2) {
            Vec3 c = hullInsidePoint(u, RIB_TOP + 0.015, side, RIB_DEPTH * 0.7);
            mesh.box({c.x - 0.3, c.y - 0.5, c.z - RIB_HALF_WIDTH},
                     {c.x + 0.3, c.y + 0.6, c.z + RIB_HALF_WIDTH});
        }
    }
    return mesh;
}
