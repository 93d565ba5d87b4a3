// The canoe's six material display lists (names 1 to 6): diffuse, specular and shininess only.
#pragma once

struct CanoeMaterial {
    unsigned int faces; // GL_FRONT or GL_FRONT_AND_BACK
    float diffuse[4];
    float specular[4];
    float shininess;
};

const int CANOE_MATERIAL_COUNT = 6;
// Entry i is display list i + 1.
extern const CanoeMaterial canoeMaterials[CANOE_MATERIAL_COUNT];

// True when OpenGL accepts the shininess (0 to 128). List 3's 200 is refused by OpenGL, which then
// keeps the shininess in force before the list, so the list leaves that call out.
bool shininessAccepted(float shininess);

// Compiles the lists 1 to 6 in order; needs the GL context.
void compileMaterialLists();
