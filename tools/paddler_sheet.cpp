// paddler_sheet: a contact sheet of every paddler clip at a few fractions of its length, drawn by the
// program's own canoe and paddler drawing with the canoe level, seen from the paddle's side and from the
// stern, with the water's level marked; written as two PNGs. Run it in the run folder under a display:
//   paddler_sheet side.png behind.png
#include "app/scene.h"
#include "canoe/canoe_drawing.h"
#include "canoe/rocking.h"
#include "paddler/animation.h"
#include "paddler/frame_update.h"
#include "paddler/paddler_drawing.h"
#include "paddler/skeleton.h"
#include "paddler/strokes.h"
#include "scene/view.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const double FRACTIONS[] = {0, 0.25, 0.5, 0.75};
const int KEYS = 4;
const int LABEL_W = 170, CELL_W = 270, CELL_H = 190, HEADER_H = 24;
const int SHEET_W = LABEL_W + KEYS * CELL_W, SHEET_H = HEADER_H + STROKE_CLIP_COUNT * CELL_H;
// What a cell shows, in canoe units: 120 of height around the paddler, from below the blade's
// deepest reach to the blade held over his head.
const double VIEW_HALF_H = 60, VIEW_HALF_W = VIEW_HALF_H * CELL_W / CELL_H, VIEW_MID_Y = 20;
const double WATER_Y = -5; // mean water level in canoe space

// The hand each clip is played with (1: the left hand holds the paddle) and what the stroke machine
// plays it for.
struct ClipInfo {
    int side;
    const char* name;
};
const ClipInfo CLIPS[STROKE_CLIP_COUNT] = {
    {1, "forward, left"},
    {1, "idle, left"},
    {1, "unused"},
    {1, "turn stroke, left"},
    {1, "backward, left"},
    {0, "idle, right"},
    {0, "forward, right"},
    {1, "hold entry, left"},
    {1, "hold, left"},
    {1, "hold exit, left"},
    {0, "backward, right"},
    {0, "hold entry, right"},
    {0, "hold, right"},
    {0, "hold exit, right"},
    {0, "turn stroke, right"},
    {1, "unused"},
    {1, "unused"},
    {1, "unused"},
    {1, "unused"},
    {1, "unused"},
    {1, "unused"},
    {1, "unused"},
    {1, "unused"},
    {0, "hands: right, up"},
    {1, "hands: left, up"},
    {1, "hands: down, left"},
    {0, "hands: down, right"},
};

enum View { SIDE, BEHIND };
const char* const VIEW_NAMES[] = {"from the paddle's side", "from the stern"};

// The paddler at 'fraction' of 'clip', with the clip's hand on the paddle.
void poseAt(int clip, double fraction) {
    posePaddlerAt(clip, CLIPS[clip].side, fraction * clipDurationOf(clip));
}

// A translucent sheet between the eye and the canoe that tints everything below the water level, and the
// level itself as a line: the blade's depth reads at a glance.
void drawWaterLevel(View view, int side) {
    glLoadMatrixd(canoeModelView.m); // the paddler's drawing has left a bone's matrix loaded
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    double near = view == BEHIND ? -150 : side == 1 ? 100 : -100;
    auto corner = [view, near](double along, double y) {
        if (view == SIDE)
            glVertex3d(near, y, along);
        else
            glVertex3d(along, y, near);
    };
    glColor4f(0.1f, 0.35f, 0.55f, 0.35f);
    glBegin(GL_QUADS);
    corner(-300, WATER_Y), corner(300, WATER_Y), corner(300, -300), corner(-300, -300);
    glEnd();
    glDisable(GL_BLEND);
    glColor3f(0.05f, 0.2f, 0.45f);
    glLineWidth(2);
    glBegin(GL_LINES);
    corner(-300, WATER_Y), corner(300, WATER_Y);
    glEnd();
}

// One cell: the level canoe and the paddler posed at 'fraction' of 'clip', in an orthographic view.
void drawCell(View view, int clip, double fraction, int x) {
    glViewport(x, 0, CELL_W, CELL_H);
    glScissor(x, 0, CELL_W, CELL_H);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-VIEW_HALF_W, VIEW_HALF_W, -VIEW_HALF_H, VIEW_HALF_H, 10, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    poseAt(clip, fraction);
    // Canoe space, looking at the paddler (his seat is near z = -40) from 300 units away.
    if (view == SIDE) {
        double eyeX = CLIPS[clip].side == 1 ? 300 : -300;
        gluLookAt(eyeX, VIEW_MID_Y, -30, 0, VIEW_MID_Y, -30, 0, 1, 0);
    } else {
        gluLookAt(0, VIEW_MID_Y, -300, 0, VIEW_MID_Y, 0, 0, 1, 0);
    }
    // The sheet's own camera in place of the program's view; the canoe level, at its resting place.
    glGetDoublev(GL_MODELVIEW_MATRIX, canoeModelView.m);
    drawCanoe();
    drawPaddler();
    drawWaterLevel(view, CLIPS[clip].side);
}

// Text in window pixels, from the lower left corner of the window.
void drawText(int x, int y, const char* text) {
    glRasterPos2i(x, y);
    for (const char* c = text; *c; ++c)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, *c);
}

void beginText(int height) {
    glViewport(0, 0, SHEET_W, height);
    glScissor(0, 0, SHEET_W, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, SHEET_W, 0, height);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor3f(0, 0, 0);
}

// Copies the window's lowest 'height' rows into the sheet from row 'top' down (the window counts upward).
void readRows(std::vector<unsigned char>& sheet, int top, int height) {
    std::vector<unsigned char> rows(size_t(SHEET_W) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, SHEET_W, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    for (int r = 0; r < height; ++r)
        std::copy_n(&rows[size_t(height - 1 - r) * SHEET_W * 3], SHEET_W * 3,
                    &sheet[size_t(top + r) * SHEET_W * 3]);
}

// A header with the fractions, then one row per clip: its number and name, then a cell per fraction.
bool writeSheet(View view, const char* path) {
    std::vector<unsigned char> sheet(size_t(SHEET_W) * SHEET_H * 3);
    glEnable(GL_SCISSOR_TEST);
    glClearColor(1, 1, 1, 1);
    beginText(HEADER_H);
    glClear(GL_COLOR_BUFFER_BIT);
    drawText(6, 7, VIEW_NAMES[view]);
    for (int k = 0; k < KEYS; ++k) {
        char text[32];
        std::snprintf(text, sizeof text, "at %.2f of the clip", FRACTIONS[k]);
        drawText(LABEL_W + k * CELL_W + 80, 7, text);
    }
    readRows(sheet, 0, HEADER_H);
    for (int clip = 0; clip < STROKE_CLIP_COUNT; ++clip) {
        glEnable(GL_DEPTH_TEST);
        glClearColor(0.62f, 0.78f, 0.92f, 1);
        for (int k = 0; k < KEYS; ++k)
            drawCell(view, clip, FRACTIONS[k], LABEL_W + k * CELL_W);
        glClearColor(1, 1, 1, 1);
        beginText(CELL_H);
        glScissor(0, 0, LABEL_W, CELL_H);
        glClear(GL_COLOR_BUFFER_BIT);
        char number[16];
        std::snprintf(number, sizeof number, "clip %d", clip);
        drawText(10, CELL_H / 2 + 8, number);
        drawText(10, CELL_H / 2 - 10, CLIPS[clip].name);
        readRows(sheet, HEADER_H + clip * CELL_H, CELL_H);
    }
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = SHEET_W;
    image.height = SHEET_H;
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path, 0, sheet.data(), 0, nullptr)) {
        std::printf("%s: can't write the sheet (%s)\n", path, image.message);
        return false;
    }
    std::printf("%s: %d clips, %d x %d pixels\n", path, STROKE_CLIP_COUNT, SHEET_W, SHEET_H);
    return true;
}

const char* sidePath = nullptr;
const char* behindPath = nullptr;

// Everything happens in the first frame, once the window is on the screen.
void displaySheets() {
    bool written = writeSheet(SIDE, sidePath) && writeSheet(BEHIND, behindPath);
    std::exit(written ? 0 : 1);
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    if (argc != 3) {
        std::printf("usage: paddler_sheet side.png behind.png (run in the run folder)\n");
        return 1;
    }
    sidePath = argv[1];
    behindPath = argv[2];
    readCanoeFiles();
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(SHEET_W, CELL_H > HEADER_H ? CELL_H : HEADER_H);
    glutCreateWindow("paddler sheet");
    initScene();
    rockMode = 0; // the canoe level
    glutDisplayFunc(displaySheets);
    glutMainLoop();
    return 0;
}
