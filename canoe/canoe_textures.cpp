// The canoe's textures, loaded at start-up.
#include "canoe/canoe_textures.h"

#include "canoe/cylinder_tex_coords.h"

#include "platform/textures.h"

void loadCanoeTextures() {
    // The loaders report a missing or unreadable file and give a plain texture in its place.
    canoeShapes[4].texture = loadBmpTexture(canoeTextureNames[0]);
    canoeShapes[7].texture = loadBmpTexture(canoeTextureNames[1]);
    canoeShapes[0].texture = loadKeyedBmpTexture(canoeTextureNames[2]); // made, never drawn
    canoeShapes[10].texture = loadBmpTexture(canoeTextureNames[3]);
    canoeShapes[9].texture = loadKeyedBmpTexture(canoeTextureNames[4]);
    cylinderTexCoords(canoeShapes[7], 0);
    cylinderTexCoords(canoeShapes[4], 90);
}
