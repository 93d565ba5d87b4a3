// Reading "gunwale.mask".
#include "water/gunwale_mask.h"

#include "base/tokens.h"

#include <cstdio>
#include <string>

GunwaleMaskPoints gunwaleMask;

static bool readPoints(std::istream& in, float (*points)[3], int& read) {
    std::string word;
    for (int i = 0; i < GUNWALE_POINTS; i++)
        for (int c = 0; c < 3; c++) {
            if (!(in >> word)) return false;
            points[i][c] = static_cast<float>(tokenToDouble(word));
            read++;
        }
    return true;
}

bool readGunwaleMask(std::istream& in) {
    int read = 0;
    if (readPoints(in, gunwaleMask.a, read) && readPoints(in, gunwaleMask.b, read)) return true;
    std::printf("gunwale.mask: only %d of %d numbers\n", read, 6 * GUNWALE_POINTS);
    return false;
}
