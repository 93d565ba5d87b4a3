// Start-up: the canoe's files read before the window exists, and the one-time scene set-up after it.
#pragma once

// Reads the sixteen canoe shape files and the stroke sample file; a missing or damaged shape file ends
// the program with status 1 (after its message). Runs before the window exists.
void readCanoeFiles();

// Sets the fixed GL state and builds every texture, list, shader and table; needs the GL context.
void initScene();
