// The display lists that hold the canoe's materials.
#include "canoe/materials.h"

#include <GL/gl.h>

void compileMaterialLists() {
    for (int i = 0; i < CANOE_MATERIAL_COUNT; i++) {
        const CanoeMaterial& m = canoeMaterials[i];
        glNewList(i + 1, GL_COMPILE);
        glMaterialfv(m.faces, GL_DIFFUSE, m.diffuse);
        glMaterialfv(m.faces, GL_SPECULAR, m.specular);
        // A refused value would raise GL_INVALID_VALUE on every call of the list and change nothing;
        // leaving it out keeps the same picture: the shininess of the list before stays in force.
        if (shininessAccepted(m.shininess)) glMaterialf(m.faces, GL_SHININESS, m.shininess);
        glEndList();
    }
}
