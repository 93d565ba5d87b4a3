// The canoe's textures, drawn from fixed-seed noise: birch bark with lenticels and gummed seams,
// spruce grain, leather, the woven seat and a keyed decoration.
#include "assets/canoe_images.h"

#include "assets/image_writers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

uint32_t hash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}
double random01(uint32_t x, uint32_t y, uint32_t seed) {
    return (hash(x, y, seed) & 0xFFFFFF) / 16777216.0;
}

// Smooth value noise in [0, 1) with a period of 'cells' cells across 'size' pixels (tiles seamlessly).
double noise(double x, double y, int size, int cells, uint32_t seed) {
    double fx = x * cells / size, fy = y * cells / size;
    int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    double tx = fx - x0, ty = fy - y0;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto at = [&](int i, int j) {
        return random01(((i % cells) + cells) % cells, ((j % cells) + cells) % cells, seed);
    };
    double a = at(x0, y0), b = at(x0 + 1, y0), c = at(x0, y0 + 1), d = at(x0 + 1, y0 + 1);
    return (a * (1 - tx) + b * tx) * (1 - ty) + (c * (1 - tx) + d * tx) * ty;
}

struct Image {
    int size;
    std::vector<double> rgb; // 0..255 floats while drawing
    explicit Image(int s) : size(s), rgb(static_cast<size_t>(s) * s * 3, 0.0) {}
    void set(int x, int y, double r, double g, double b) {
        double* p = at(x, y);
        p[0] = r, p[1] = g, p[2] = b;
    }
    // Calls f(x, y) for every texel, row by row.
    template <class F> void each(F f) {
        for (int y = 0; y < size; y++)
            for (int x = 0; x < size; x++)
                f(x, y);
    }
    double* at(int x, int y) {
        x = ((x % size) + size) % size;
        y = ((y % size) + size) % size;
        return &rgb[(static_cast<size_t>(y) * size + x) * 3];
    }
    void blend(int x, int y, double r, double g, double b, double alpha) {
        double* p = at(x, y);
        p[0] += (r - p[0]) * alpha;
        p[1] += (g - p[1]) * alpha;
        p[2] += (b - p[2]) * alpha;
    }
    std::vector<unsigned char> bytes(int lowest) const {
        std::vector<unsigned char> out(rgb.size());
        for (size_t i = 0; i < rgb.size(); i++)
            out[i] =
                static_cast<unsigned char>(std::clamp(static_cast<int>(std::lround(rgb[i])), lowest, 255));
        return out;
    }
};

} // namespace

std::vector<unsigned char> makeBirchImage(int size) {
    Image img(size);
    img.each([&](int x, int y) {
        // Cream bark, blotched, with faint streaks along the length (along y).
        double blotch = noise(x, y, size, 8, 11) * 0.6 + noise(x, y, size, 32, 12) * 0.4;
        double streak = noise(x * 1.0, y / 8.0, size, 64, 13);
        double v = 0.82 + 0.14 * blotch - 0.10 * streak * streak;
        img.set(x, y, 246 * v, 232 * v, 204 * v);
    });
    // Lenticels: short dark dashes along the length of the boat (along y), a texel or two thick.
    int count = size * size / 90;
    for (int k = 0; k < count; k++) {
        int x0 = static_cast<int>(random01(k, 1, 21) * size),
            y0 = static_cast<int>(random01(k, 2, 21) * size);
        int length = 2 + static_cast<int>(random01(k, 3, 21) * random01(k, 4, 21) * 14);
        int thick = random01(k, 5, 21) < 0.3 ? 2 : 1;
        double darkness = 0.55 + 0.4 * random01(k, 6, 21);
        for (int j = 0; j < length; j++) {
            double taper = std::sin(M_PI * (j + 0.5) / length);
            for (int i = 0; i < thick; i++)
                img.blend(x0 + i, y0 + j, 62, 44, 34, darkness * (0.5 + 0.5 * taper));
        }
    }
    // Sewn seams between the bark sheets, sealed with dark spruce gum: across the boat (constant y).
    const int seams = 5;
    for (int s = 0; s < seams; s++) {
        int yc = (2 * s + 1) * size / (2 * seams);
        for (int x = 0; x < size; x++) {
            double wobble = 2.0 * (noise(x, s * 7.0, size, 8, 31) - 0.5);
            for (int dy = -3; dy <= 3; dy++) {
                double d = std::fabs(dy - wobble);
                double alpha = std::clamp(1.6 - d * 0.5, 0.0, 0.95);
                img.blend(x, yc + dy, 34, 24, 20, alpha);
            }
            // Root stitches across the seam.
            if (x % 6 < 2)
                for (int dy = -5; dy <= 5; dy++)
                    img.blend(x, yc + dy, 196, 170, 120, 0.8);
        }
    }
    return img.bytes(1);
}

std::vector<unsigned char> makeSpruceImage(int size) {
    Image img(size);
    img.each([&](int x, int y) {
        // Straight grain along x: rings bent a little by slow noise.
        double bend = 6.0 * noise(x, y, size, 4, 41) + 2.0 * noise(x, y, size, 16, 42);
        double ring = 0.5 + 0.5 * std::sin(2 * M_PI * (y + bend) / 9.0);
        double late = std::pow(ring, 6.0); // thin dark latewood lines
        double tone = 0.9 + 0.1 * noise(x, y, size, 8, 43);
        img.set(x, y, (236 - 60 * late) * tone, (206 - 70 * late) * tone, (150 - 60 * late) * tone);
    });
    return img.bytes(1);
}

std::vector<unsigned char> makeLeatherImage(int size) {
    Image img(size);
    img.each([&](int x, int y) {
        double grain = 0.6 * noise(x, y, size, 16, 51) + 0.4 * noise(x, y, size, 32, 52);
        double wear = noise(x, y, size, 4, 53);
        double v = 0.75 + 0.3 * grain + 0.15 * wear;
        img.set(x, y, 168 * v, 112 * v, 66 * v);
    });
    return img.bytes(1);
}

std::vector<unsigned char> makeSeatImage(int size) {
    Image img(size); // starts black: the holes
    const int period = size / 8, width = period / 3;
    img.each([&](int x, int y) {
        int cx = x % period, cy = y % period, cd = (x + y) % period;
        bool along = cy < width, across = cx < width, diagonal = cd < width / 2 + 1;
        if (!along && !across && !diagonal) return;
        // Over-and-under: which strip is on top alternates from crossing to crossing.
        bool alongOnTop = ((x / period) + (y / period)) % 2 == 0;
        double shade;
        if (along && across)
            shade = alongOnTop ? 0.95 - 0.25 * std::fabs(cy - width / 2.0) / width
                               : 0.95 - 0.25 * std::fabs(cx - width / 2.0) / width;
        else if (along)
            shade = 0.9 - 0.3 * std::fabs(cy - width / 2.0) / width;
        else if (across)
            shade = 0.9 - 0.3 * std::fabs(cx - width / 2.0) / width;
        else
            shade = 0.7;
        shade *= 0.9 + 0.1 * noise(x, y, size, 16, 61);
        img.set(x, y, 222 * shade, 196 * shade, 142 * shade);
    });
    // Strips keep every channel at 1 or more so that only the holes are keyed out.
    std::vector<unsigned char> out = img.bytes(0);
    for (size_t i = 0; i < out.size(); i += 3)
        if (out[i] || out[i + 1] || out[i + 2])
            for (int c = 0; c < 3; c++)
                out[i + c] = std::max<unsigned char>(out[i + c], 1);
    return out;
}

std::vector<unsigned char> makeKkkImage(int size) {
    // Red-ochre double curves around a ring, on black.
    Image img(size);
    double c = size / 2.0;
    img.each([&](int x, int y) {
        double dx = x + 0.5 - c, dy = y + 0.5 - c, r = std::sqrt(dx * dx + dy * dy) / c;
        double a = std::atan2(dy, dx);
        bool ring = std::fabs(r - 0.42) < 0.07;
        bool curls = std::fabs(r - (0.68 + 0.12 * std::cos(4 * a))) < 0.05 && r < 0.95;
        if (ring || curls) {
            img.set(x, y, 170, 58, 30);
        }
    });
    return img.bytes(0);
}

bool writeCanoeImages(const std::string& folder) {
    std::vector<unsigned char> birch = makeBirchImage(256), spruce = makeSpruceImage(256),
                               leather = makeLeatherImage(64), seat = makeSeatImage(128),
                               kkk = makeKkkImage(64);
    return writeBmpFile(folder, "birch.bmp", 256, 256, birch.data()) &&
           writeBmpFile(folder, "spruce.bmp", 256, 256, spruce.data()) &&
           writeBmpFile(folder, "kkk.bmp", 64, 64, kkk.data()) &&
           writeBmpFile(folder, "leather.bmp", 64, 64, leather.data()) &&
           writeBmpFile(folder, "theseat.bmp", 128, 128, seat.data());
}
