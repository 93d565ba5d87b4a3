// Environment cube faces, the sea bottom and the cloud texture. The cube faces and the cloud dome
// are painted from one sky, a function of direction, so that the reflection in the water shows the
// same sky, sun and clouds as the dome above it and the six faces meet without seams.
#include "assets/generator_math.h"
#include "assets/image_writers.h"
#include "assets/writers.h"
#include "base/vecmath.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Value noise on the integer lattice from a fixed hash: the same bytes on every run.
double lattice(int x, int y, uint32_t seed) {
    uint32_t h =
        static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double valueNoise(double x, double y, uint32_t seed) {
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    double fx = x - ix, fy = y - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    double a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
    double c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

double fbm(double x, double y, uint32_t seed) {
    double sum = 0, amplitude = 0.5;
    for (int octave = 0; octave < 5; ++octave) {
        sum += amplitude * valueNoise(x, y, seed + octave);
        x = x * 2.03 + 17.1;
        y = y * 2.03 - 9.7;
        amplitude *= 0.5;
    }
    return sum / 0.96875;
}

// Directions in the water's own frame: x and y along the sea, z up. The viewer looks along the
// azimuth of 50 degrees at start; the sun stands 15 degrees to the right of that, low in the sky.
const double PI = 3.14159265358979323846;
const double SUN_AZIMUTH = 35.0 * PI / 180.0, SUN_ELEVATION = 11.0 * PI / 180.0;

Colour skyColour(double x, double y, double z) {
    const Colour zenith = {46, 94, 168}, horizon = {200, 214, 228}, sea = {70, 102, 120},
                 sun = {255, 240, 205};
    Vec3 direction = unitVector(Vec3(x, y, z));
    x = direction.x, y = direction.y, z = direction.z;
    double elevation = std::asin(std::fmax(-1.0, std::fmin(1.0, z)));
    Colour colour;
    if (elevation >= 0)
        colour = mix(horizon, zenith, std::pow(elevation / (PI / 2), 0.45));
    else
        colour = mix(horizon, sea, smoothstep(0.0, 0.6, -elevation));

    double sx = std::cos(SUN_ELEVATION) * std::cos(SUN_AZIMUTH),
           sy = std::cos(SUN_ELEVATION) * std::sin(SUN_AZIMUTH);
    double sz = std::sin(SUN_ELEVATION);
    double angle = std::acos(std::fmax(-1.0, std::fmin(1.0, x * sx + y * sy + z * sz)));

    // Clouds on a flat layer overhead, thinning out toward the horizon.
    if (z > 0) {
        double px = x / (z + 0.06) * 1.6, py = y / (z + 0.06) * 1.6;
        double density = fbm(px, py, 11);
        double cover = smoothstep(0.48, 0.78, density) * smoothstep(0.0, 0.18, z);
        double shade = 0.78 + 0.22 * smoothstep(0.5, 0.9, fbm(px * 1.7 + 3.0, py * 1.7, 29));
        Colour cloud = {236 * shade, 236 * shade, 242 * shade};
        cloud = mix(cloud, sun, 0.5 * std::exp(-angle / 0.35));
        colour = mix(colour, cloud, cover * 0.9);
    }
    // The sun: a bright disc in a wide warm glow.
    double glow = 0.55 * std::exp(-angle / 0.22) + 1.2 * std::exp(-(angle * angle) / (2 * 0.03 * 0.03));
    colour = mix(colour, sun, std::fmin(glow, 1.0));
    return colour;
}

unsigned char toByte(double v) {
    return static_cast<unsigned char>(std::lround(std::fmin(std::fmax(v, 0.0), 255.0)));
}

void put(std::vector<unsigned char>& pixels, size_t index, Colour c) {
    pixels[index * 3] = toByte(c.r);
    pixels[index * 3 + 1] = toByte(c.g);
    pixels[index * 3 + 2] = toByte(c.b);
}

// The sky as the sea mirrors it: the water is bright with reflection everywhere (the Fresnel term
// never drops below its bias), so the mirrored sky is darkened and drawn toward the sea's blue-green
// to read as water rather than as more sky. The sun's glint stays bright.
Colour seenInWater(Colour c) {
    double brightness = (c.r + c.g + c.b) / 3.0;
    double keep = smoothstep(215.0, 250.0, brightness);
    Colour water = {c.r * 0.55, c.g * 0.68, c.b * 0.74};
    return mix(water, c, keep);
}

// One cube face in GL's cube-map layout: texel (column, row) in upload order looks along the
// face's direction; the loaders hand rows over bottom row first, so row 0 here is uploaded first.
std::vector<unsigned char> cubeFace(int face, int size) {
    std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 3);
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column) {
            double sc = 2.0 * (column + 0.5) / size - 1.0, tc = 2.0 * (row + 0.5) / size - 1.0;
            double d[6][3] = {{1, -tc, -sc}, {-1, -tc, sc}, {sc, 1, tc},
                              {sc, -1, -tc}, {sc, -tc, 1},  {-sc, -tc, -1}};
            // The shader works in the water's world frame, y up: world (x, y, z) is water (x, -z, y).
            const double* w = d[face];
            put(pixels, static_cast<size_t>(row) * size + column, seenInWater(skyColour(w[0], -w[2], w[1])));
        }
    return pixels;
}

// The dome's texture: the first axis runs from the pole (0) to the horizon (7/8), the second once
// around the sky.
std::vector<unsigned char> cloudDome(int size) {
    std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 3);
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column) {
            double s = (column + 0.5) / size, t = (row + 0.5) / size;
            double polar = std::fmin(s * 8.0 / 7.0, 1.0) * (PI / 2), azimuth = t * 2 * PI;
            double x = std::sin(polar) * std::cos(azimuth), y = std::sin(polar) * std::sin(azimuth);
            put(pixels, static_cast<size_t>(row) * size + column, skyColour(x, y, std::cos(polar)));
        }
    return pixels;
}

// Deep blue-green water seen from above, with faint bands of light on it.
std::vector<unsigned char> seaBottom(int size) {
    std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 3);
    const Colour deep = {6, 52, 60}, light = {36, 118, 112};
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column) {
            double x = column * 8.0 / size, y = row * 8.0 / size;
            double base = fbm(x * 0.5, y * 0.5, 51);
            double band = 1.0 - std::fabs(2.0 * fbm(x, y, 77) - 1.0);
            double caustic = std::pow(band, 6.0) * 0.35;
            put(pixels, static_cast<size_t>(row) * size + column, mix(deep, light, 0.25 * base + caustic));
        }
    return pixels;
}

} // namespace

bool writeSkyAndWaterImages(const std::string& folder) {
    static const char* const faceFiles[6] = {"ixpos.bmp", "ixneg.bmp", "iypos.bmp",
                                             "iyneg.bmp", "izpos.bmp", "izneg.bmp"};
    const int faceSize = 256;
    for (int face = 0; face < 6; ++face) {
        std::vector<unsigned char> pixels = cubeFace(face, faceSize);
        if (!writeBmpFile(folder, faceFiles[face], faceSize, faceSize, pixels.data())) return false;
    }
    std::vector<unsigned char> bottom = seaBottom(256);
    if (!writeJpegFile(folder, "bottom.jpg", 256, 256, bottom.data())) return false;
    std::vector<unsigned char> clouds = cloudDome(512);
    return writeJpegFile(folder, "cloudy1.jpg", 512, 512, clouds.data());
}
