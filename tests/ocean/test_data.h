// Random tables and bitwise comparison shared by the ocean tests.
#pragma once

#include "ocean/fft.h"

#include <cstring>
#include <random>
#include <vector>

// Values in [-3, 3), with signed zeros among them, where a skipped multiplication by 1 or 0 would show.
inline void fillRandom(double* values, size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    for (size_t k = 0; k < count; k++)
        values[k] = k % 7 == 0 ? -0.0 : k % 11 == 0 ? 0.0 : value(generator);
}

// Any table of doubles: Complex, PositionXY, Vec3.
template <typename Table> void fillRandom(Table& table, unsigned seed) {
    fillRandom(reinterpret_cast<double*>(&table), sizeof(Table) / sizeof(double), seed);
}

inline std::vector<Complex> randomRows(int rows, unsigned seed) {
    std::vector<Complex> data(static_cast<size_t>(rows) * FFT_ROW_LENGTH);
    fillRandom(&data[0].real, 2 * data.size(), seed);
    return data;
}

inline Complex (*asRows(std::vector<Complex>& data))[FFT_ROW_LENGTH] {
    return reinterpret_cast<Complex(*)[FFT_ROW_LENGTH]>(data.data());
}

template <typename Table> bool sameBits(const Table& a, const Table& b) {
    return std::memcmp(&a, &b, sizeof(Table)) == 0;
}

inline bool sameBits(const std::vector<Complex>& a, const std::vector<Complex>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Complex)) == 0;
}
