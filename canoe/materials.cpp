// Material values of the canoe (the face selectors are GL's numbers).
#include "canoe/materials.h"

#include <GL/gl.h>

const CanoeMaterial canoeMaterials[CANOE_MATERIAL_COUNT] = {
    {GL_FRONT, {0.01f, 0.35f, 0.11f, 1}, {0.2f, 0.2f, 0.2f, 1}, 100}, // 1: outer hull
    {GL_FRONT_AND_BACK, {0.88f, 0.62f, 0.33f, 1}, {1, 1, 1, 1}, 50}, // 2: bark (its inner side's golden tan) and wood
    {GL_FRONT_AND_BACK, {0.84f, 0.59f, 0.35f, 1}, {1, 1, 1, 1}, 200}, // 3: ribs, seat nets, handle
    {GL_FRONT_AND_BACK, {1, 1, 1, 1}, {0, 0, 0, 1}, 100},             // 4: lashing, string, cups
    {GL_FRONT, {0.19f, 0.05f, 0, 1}, {0.9f, 0.9f, 0.9f, 1}, 50},      // 5: tump line
    {GL_FRONT, {0.2f, 0.2f, 0.2f, 1}, {0.2f, 0.2f, 0.2f, 1}, 100},    // 6: axe head
};

bool shininessAccepted(float shininess) {
    return shininess >= 0.0f && shininess <= 128.0f;
}
