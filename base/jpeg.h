// The JPEG reader of the sky and sea-bottom images.
#pragma once

// Largest width and height readJpeg accepts; larger files are refused like damaged ones.
const int JPEG_MAX_SIDE = 8192;

// Decodes a 3-component JPEG; rows come out bottom-up (the file's last row first). Returns a
// malloc'd pixel block and sets the row length in bytes and the height, or returns null after
// "can't open <name>" or "<name>: not a readable JPEG (...)" on standard error (sizes then 0).
unsigned char* readJpeg(const char* fileName, int* rowLength, int* height);
