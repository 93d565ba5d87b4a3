// The sky dome: ring points computed once, drawn as seven textured bands each frame.
#include "water/sky.h"

#include "scene/view.h"

#include <GL/gl.h>
#include <cmath>

float skyDome[SKY_RINGS][SKY_RING_POINTS][3];
unsigned int skyTexture = 0;

void buildSkyDome(float radius, float dome[SKY_RINGS][SKY_RING_POINTS][3]) {
    for (int r = 0; r < SKY_RINGS; ++r) {
        double elevation = r * 90.0 / 7.0;
        double z = radius * std::sin((90.0 - elevation) * DEGREES_TO_RADIANS);
        double q = radius * std::sin(elevation * DEGREES_TO_RADIANS);
        for (int j = 0; j < SKY_RING_POINTS; ++j) {
            dome[r][j][0] = static_cast<float>(q * std::cos(12.0 * j * DEGREES_TO_RADIANS));
            dome[r][j][1] = static_cast<float>(q * std::sin(12.0 * j * DEGREES_TO_RADIANS));
            dome[r][j][2] = static_cast<float>(z);
        }
    }
}

void drawSky() {
    glPushMatrix();
    glTranslated(0, -100, 0);
    glRotatef(-90, 1, 0, 0);
    glRotatef(cameraPitch, 1, 0, 0);
    glRotatef(cameraHeading, 0, 0, 1);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glDisable(GL_TEXTURE_CUBE_MAP);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, skyTexture);
    glDisable(GL_LIGHTING);
    for (int i = 0; i < SKY_RINGS - 1; ++i) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int j = 0; j < SKY_RING_POINTS; ++j) {
            glTexCoord2f(i / 8.0f, j / 30.0f);
            glVertex3fv(skyDome[i][j]);
            glTexCoord2f((i + 1) / 8.0f, j / 30.0f);
            glVertex3fv(skyDome[i + 1][j]);
        }
        glEnd();
    }
    glPopMatrix();
}
