// The paddler's and the paddle's images: a red-and-black checked wool shirt, canvas trousers, a yellow
// paddling vest and a felt hat (BMP), skin and a bearded face with hair (32-bit TGA, opaque), and the
// paddle's varnished wood (BMP).
#include "assets/image_writers.h"
#include "assets/paddler_rig.h"
#include "assets/writers.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Fixed-seed noise, so that every build writes the same bytes.
struct Noise {
    uint32_t state = 12345;
    double next() {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 24);
    }
};

void put(std::vector<unsigned char>& px, int i, double r, double g, double b) {
    auto clamp = [](double v) { return (unsigned char)(v < 0 ? 0 : v > 255 ? 255 : v); };
    px[3 * i] = clamp(r);
    px[3 * i + 1] = clamp(g);
    px[3 * i + 2] = clamp(b);
}

// Uncompressed 32-bit TGA, bottom row first, every pixel opaque. 'rgb' holds 3 bytes a pixel.
bool writeTga(const std::string& folder, const char* name, int w, int h,
              const std::vector<unsigned char>& rgb) {
    FILE* file = openAssetFile(folder, name);
    if (!file) return false;
    unsigned char header[18] = {0};
    header[2] = 2;
    header[12] = uint8_t(w & 0xFF);
    header[13] = uint8_t(w >> 8);
    header[14] = uint8_t(h & 0xFF);
    header[15] = uint8_t(h >> 8);
    header[16] = 32;
    header[17] = 8; // eight alpha bits, origin at the bottom left
    std::vector<unsigned char> data(header, header + 18);
    for (int i = 0; i < w * h; ++i) {
        data.push_back(rgb[3 * i + 2]);
        data.push_back(rgb[3 * i + 1]);
        data.push_back(rgb[3 * i]);
        data.push_back(255);
    }
    bool ok = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    return std::fclose(file) == 0 && ok;
}

std::vector<unsigned char> shirt(int n) {
    Noise noise;
    std::vector<unsigned char> px(n * n * 3);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            bool a = (x / 8) % 2, b = (y / 8) % 2;
            double base = a && b ? 0.15 : (a || b) ? 0.45 : 1.0;
            double grain = 0.85 + 0.3 * noise.next();
            put(px, y * n + x, 190 * base * grain + 15, 28 * base * grain + 8, 30 * base * grain + 8);
        }
    return px;
}

// A flat colour with per-pixel grain (base + amount * noise), 'stripe' darker every fourth column.
std::vector<unsigned char> grained(int n, uint32_t seed, double base, double amount, double stripe, double r,
                                   double g, double b) {
    Noise noise;
    noise.state = seed;
    std::vector<unsigned char> px(n * n * 3);
    for (int i = 0; i < n * n; ++i) {
        double k = base + amount * noise.next() + ((i % n) % 4 == 0 ? -stripe : 0);
        put(px, i, r * k, g * k, b * k);
    }
    return px;
}

// u runs round the head from its right side (u = 0) over the face (u = 0.25) and the left side to the
// back (u = 0.75); v runs from the chin (0) to the crown (1), the eyes at v = 0.48. A short beard covers
// the jaw; the hair shows at the back and sides under the hat.
std::vector<unsigned char> face(int n) {
    Noise noise;
    noise.state = 4242;
    std::vector<unsigned char> px(n * n * 3);
    auto inside = [](double du, double dv, double ru, double rv) {
        return (du * du) / (ru * ru) + (dv * dv) / (rv * rv) < 1;
    };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            double u = (x + 0.5) / n, v = (y + 0.5) / n, g = 0.95 + 0.06 * noise.next();
            double across = u - 0.25, side = std::fabs(across), eye = side - 0.058;
            double r = 224 * g, gr = 176 * g, b = 142 * g;
            auto paint = [&](double pr, double pg, double pb) { r = pr * g, gr = pg * g, b = pb * g; };
            bool hair = v > 0.72 || (side > 0.19 && v > 0.33 && (u > 0.44 || u < 0.06)) ||
                        (side > 0.17 && side < 0.21 && v > 0.3 && v < 0.5);
            bool beard = v < 0.27 && side < 0.19 && v > 0.02 + 0.5 * std::fmax(0, side - 0.12);
            bool lips = std::fabs(v - 0.185) < 0.02 && side < 0.036;
            bool moustache = v > 0.205 && v < 0.245 && side < 0.05;
            if (hair)
                paint(68, 44, 26);
            else if (lips)
                paint(150, 78, 66);
            else if (beard || moustache)
                paint(112 + 14 * noise.next(), 78, 50);
            else if (inside(eye, v - 0.48, 0.011, 0.018))
                paint(60, 42, 28); // the iris
            else if (inside(eye, v - 0.48, 0.026, 0.02))
                paint(235, 230, 222);
            else if (std::fabs(v - 0.535 - 0.15 * eye) < 0.011 && std::fabs(eye) < 0.032)
                paint(80, 52, 32); // brows
            else if (inside(side - 0.1, v - 0.37, 0.04, 0.05))
                paint(222, 160, 130); // colour in the cheeks
            else if (std::fabs(v - 0.45) < 0.012 && std::fabs(eye) < 0.03)
                paint(196, 150, 120); // under the eyes
            put(px, y * n + x, r, gr, b);
        }
    return px;
}

// Yellow nylon over foam: stitched channels around the body, a zip down the front, dark mesh side
// panels, bound hem and collar. u runs round the torso from the right side (front at 0.25), v upward.
std::vector<unsigned char> vest(int n) {
    Noise noise;
    noise.state = 2024;
    std::vector<unsigned char> px(n * n * 3);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            double u = (x + 0.5) / n, v = (y + 0.5) / n, g = 0.92 + 0.1 * noise.next();
            double r = 222, gr = 168, b = 40;
            double sideU = std::fmin(std::fabs(u - 0.0), std::fmin(std::fabs(u - 0.5), std::fabs(u - 1.0)));
            if (v < 0.1 || v > 0.86)
                r = 60, gr = 52, b = 40; // the binding
            else if (std::fabs(u - 0.25) < 0.004)
                r = 90, gr = 84, b = 70; // the zip
            else if (std::fabs(u - 0.25) < 0.012)
                r *= 0.8, gr *= 0.8, b *= 0.8; // its flaps
            else if (sideU < 0.05)
                r = 58 + 20 * ((x + y) % 2), gr = 62 + 20 * ((x + y) % 2), b = 60; // mesh panel
            else if (x % 16 == 0 || std::fabs(v - 0.48) < 0.008)
                r *= 0.72, gr *= 0.72, b *= 0.72; // stitched channels
            put(px, y * n + x, r * g, gr * g, b * g);
        }
    return px;
}

std::vector<unsigned char> wood(int w, int h) {
    Noise noise;
    noise.state = 31337;
    std::vector<double> streak(w);
    for (double& s : streak)
        s = noise.next();
    std::vector<unsigned char> px(w * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double g =
                0.8 + 0.25 * streak[x] + 0.08 * std::sin(y * 0.35 + streak[x] * 6) + 0.05 * noise.next();
            bool tip = y < h / 12;
            put(px, y * w + x, (tip ? 60 : 185) * g, (tip ? 40 : 128) * g, (tip ? 30 : 70) * g);
        }
    return px;
}

} // namespace

bool writePaddlerTextures(const std::string& folder) {
    std::vector<unsigned char> s = shirt(64), f = face(128), w = wood(32, 128), v = vest(128);
    std::vector<unsigned char> hat = grained(64, 555, 0.86, 0.2, 0.05, 150, 128, 92); // weathered felt
    std::vector<unsigned char> t = grained(64, 777, 0.85, 0.25, 0.08, 92, 88, 62);    // canvas, in stripes
    std::vector<unsigned char> k = grained(32, 99, 0.94, 0.08, 0, 222, 174, 140);
    return writeBmpFile(folder, "paddler_shirt.bmp", 64, 64, s.data()) &&
           writeBmpFile(folder, "paddler_trousers.bmp", 64, 64, t.data()) &&
           writeTga(folder, "paddler_skin.tga", 32, 32, k) &&
           writeTga(folder, "paddler_face.tga", 128, 128, f) &&
           writeBmpFile(folder, "paddler_vest.bmp", 128, 128, v.data()) &&
           writeBmpFile(folder, "paddler_hat.bmp", 64, 64, hat.data()) &&
           writeBmpFile(folder, "paddle_wood.bmp", 32, 128, w.data());
}
