// Word-to-number conversion shared by the shape, stroke and hull mask readers.
#include "base/tokens.h"

#include <cstdlib>

long tokenToLong(const std::string& word) {
    // strtol saturates at LONG_MIN / LONG_MAX where atoi would overflow.
    return std::strtol(word.c_str(), nullptr, 10);
}

double tokenToDouble(const std::string& word) {
    return std::strtod(word.c_str(), nullptr);
}
