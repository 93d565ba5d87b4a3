// The whole-table loops of the ocean tick, four cells at a time, each in a plain and an AVX build
// (see lanes.h). Every cell goes through exactly the operations of the scalar step it stands for,
// so the tables come out with the same bits either way.
#pragma once

#include "ocean/surface.h"

// Rows 0 to 32 of the spectrum of the moment and their partner cells (63 - i, 63 - j), with the sine
// and cosine of cell (i, j) at sine / cosine[lengthIndex[i][j]].
void evolveRows(const double* sine, const double* cosine, const short (*lengthIndex)[OCEAN_N]);
// displacementX / Y = (0, toward * heightField.imag), cell by cell (zero-length cells are the
// caller's to clear).
void fillDisplacementSpectra(const double (*towardX)[OCEAN_N], const double (*towardY)[OCEAN_N]);
// Both displacement tables times checkerSign(i + j) * CHOPPINESS, real and imaginary parts.
void scaleDisplacements();
// Heights times checkerSign(i + j) (imaginary parts kept), and the displaced positions.
void placeGridPoints();
// gridNormals of rows 0 to 62 (column 63 too, which the caller then overwrites with its copy).
void gridNormalRows(const Complex (*heights)[OCEAN_N]);
// drawVertices = (x, y, height) and drawNormals of the 64 x 64 cells (the seam row and column are the
// caller's).
void copyDrawCells();
// The normal-map bytes of gridNormals.
void encodeNormalBytes(unsigned char* pixels);
