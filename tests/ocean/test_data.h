// Random tables and bitwise comparison shared by the ocean tests.
#pragma once

#include "ocean/fft.h"

#include <cstring>
#include <random>
#include <vector>

// Values in [-3, 3), with signed zeros where a skipped multiplication by 1 or 0 would show.
inline void fillRandom(Complex* data, size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    for (size_t k = 0; k < count; k++) {
        data[k] = {value(generator), value(generator)};
        if (k % 7 == 0) data[k].real = -0.0;
        if (k % 11 == 0) data[k].imag = 0.0;
    }
}

template <size_t N> void fillRandom(Complex (&table)[N][FFT_ROW_LENGTH], unsigned seed) {
    fillRandom(&table[0][0], N * FFT_ROW_LENGTH, seed);
}

inline std::vector<Complex> randomRows(int rows, unsigned seed) {
    std::vector<Complex> data(static_cast<size_t>(rows) * FFT_ROW_LENGTH);
    fillRandom(data.data(), data.size(), seed);
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
