// Word-to-number conversion of the canoe's text files, with the C library's rules: the leading
// number of the word is taken and a word without one gives 0.
#pragma once

#include <string>

// Like atoi, but a number too large for a long is clamped instead of undefined.
long tokenToLong(const std::string& word);
// Like atof.
double tokenToDouble(const std::string& word);
