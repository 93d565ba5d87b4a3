// Random tables and bitwise comparison shared by the ocean tests.
#pragma once

#include <cstring>
#include <random>

inline void fillRandom(double* values, size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    for (size_t k = 0; k < count; k++)
        values[k] = value(generator);
}

// Any table of doubles: Complex, PositionXY, Vec3.
template <typename Table> void fillRandom(Table& table, unsigned seed) {
    fillRandom(reinterpret_cast<double*>(&table), sizeof(Table) / sizeof(double), seed);
}

template <typename Table> bool sameBits(const Table& a, const Table& b) {
    return std::memcmp(&a, &b, sizeof(Table)) == 0;
}
