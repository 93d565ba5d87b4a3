// The paddler's and the paddle's images: a red-and-black checked wool shirt, canvas trousers (BMP),
// skin and a face with hair (32-bit TGA, opaque), and the paddle's varnished wood (BMP).
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
// back (u = 0.75); v runs from the chin (0) to the crown (1).
std::vector<unsigned char> face(int n) {
    Noise noise;
    noise.state = 4242;
    std::vector<unsigned char> px(n * n * 3);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            double u = (x + 0.5) / n, v = (y + 0.5) / n, g = 0.95 + 0.06 * noise.next();
            double fromFace = std::fabs(u - 0.25);
            double r = 222 * g, gr = 174 * g, b = 140 * g;
            bool hair = v > 0.66 || (fromFace > 0.2 && v > 0.42) || (fromFace > 0.3 && v > 0.2);
            auto paint = [&](double pr, double pg, double pb) { r = pr, gr = pg, b = pb; };
            if (hair)
                paint(70 * g, 45 * g, 25 * g);
            else if (std::fabs(v - 0.53) < 0.04 && std::fabs(fromFace - 0.055) < 0.025)
                paint(40, 35, 30); // eyes
            else if (std::fabs(v - 0.6) < 0.015 && std::fabs(fromFace - 0.055) < 0.04)
                paint(90, 60, 40); // brows
            else if (std::fabs(v - 0.3) < 0.02 && fromFace < 0.045)
                paint(160, 80, 75); // mouth
            else if (fromFace < 0.012 && v > 0.36 && v < 0.5)
                paint(r * 0.85, gr * 0.85, b * 0.85); // the nose's shade
            put(px, y * n + x, r, gr, b);
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
    std::vector<unsigned char> s = shirt(64), f = face(64), w = wood(32, 128);
    std::vector<unsigned char> t = grained(64, 777, 0.85, 0.25, 0.08, 92, 88, 62); // canvas, in stripes
    std::vector<unsigned char> k = grained(32, 99, 0.94, 0.08, 0, 222, 174, 140);
    return writeBmpFile(folder, "paddler_shirt.bmp", 64, 64, s.data()) &&
           writeBmpFile(folder, "paddler_trousers.bmp", 64, 64, t.data()) &&
           writeTga(folder, "paddler_skin.tga", 32, 32, k) &&
           writeTga(folder, "paddler_face.tga", 64, 64, f) &&
           writeBmpFile(folder, "paddle_wood.bmp", 32, 128, w.data());
}
