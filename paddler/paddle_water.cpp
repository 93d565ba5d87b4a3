// The blade's and the hull's pushes on the local wave field.
#include "paddler/paddle_water.h"

#include "ocean/wave_field.h"
#include "scene/view.h"
#include "water/gunwale_mask.h"
#include "canoe/rocking.h"
#include "paddler/placement.h"
#include "paddler/skeleton.h"
#include "paddler/strokes.h"

#include <cmath>

BladeWater bladeWater;

namespace {

// How hard each source pushes: units of height per unit of speed through the water.
const double SPLASH = 0.01, SWIRL = 0.006, BOW_WAVE = 0.03;
const double BLADE_RADIUS = 3.0, HULL_RADIUS = 5.0;

struct Track {
    Vec3 at[BLADE_SAMPLES + 2]; // water space: the blade's samples, then the bow and the stern
    bool wet[BLADE_SAMPLES];
    bool anyWet = false;
    bool known = false; // 'at' holds the previous step's places
    int side = -1;      // the paddle's hand then
} last;

// The canoe's ends on its water line, from the hull mask's farthest points.
void hullEnds(Vec3& bow, Vec3& stern) {
    bow = stern = Vec3(0, WATER_LINE_Y, 0);
    for (int i = 0; i < GUNWALE_POINTS; ++i)
        for (const float* p : {gunwaleMask.a[i], gunwaleMask.b[i]}) {
            if (p[2] > bow.z) bow = Vec3(0, WATER_LINE_Y, p[2]);
            if (p[2] < stern.z) stern = Vec3(0, WATER_LINE_Y, p[2]);
        }
}

// A pair of pushes along the motion: up ahead of 'p', down behind it.
void pushAlong(const Vec3& p, const Vec3& velocity, double amount, double radius) {
    double speed = std::hypot(velocity.x, velocity.y);
    if (speed <= 0) return;
    double ux = velocity.x / speed * radius, uy = velocity.y / speed * radius;
    pushWaveField(p.x + ux, p.y + uy, amount, radius);
    pushWaveField(p.x - ux, p.y - uy, -amount, radius);
}

} // namespace

void resetPaddleWater() {
    last = Track();
    bladeWater = BladeWater();
}

void startPaddleWaterFrame() {
    bladeWater.catches = 0;
}

void stirWater() {
    Matrix4 rocking = rockingMatrix(rockIndex);
    Matrix4 toWater = canoeToWater(sceneMatrix);
    Matrix4 blade = rocking * paddlerSeatMatrix() * paddlePlacement(strokeState.paddleSide, bones);
    Track now;
    now.side = strokeState.paddleSide;
    Vec3 middle;
    for (int k = 0; k < BLADE_SAMPLES; ++k) {
        Vec3 p(0, 0, BLADE_THROAT_Z + (BLADE_TIP_Z - BLADE_THROAT_Z) * (k + 0.5) / BLADE_SAMPLES);
        blade.transformPoint(p);
        now.wet[k] = p.y < WATER_LINE_Y;
        now.anyWet = now.anyWet || now.wet[k];
        if (k == BLADE_SAMPLES / 2) middle = p;
        toWater.transformPoint(p);
        now.at[k] = p;
    }
    Vec3 bow, stern;
    hullEnds(bow, stern);
    now.at[BLADE_SAMPLES] = bow;
    now.at[BLADE_SAMPLES + 1] = stern;
    toWater.transformPoint(now.at[BLADE_SAMPLES]);
    toWater.transformPoint(now.at[BLADE_SAMPLES + 1]);
    now.known = true;

    Vec3 centre;
    toWater.transformPoint(centre);
    followWaveField(centre.x, centre.y);
    // A change of hands moves the blade from one side to the other in one step: no speed to take from it.
    bool moving = last.known && last.side == now.side;
    double fastest = 0;
    for (int k = 0; moving && k < BLADE_SAMPLES; ++k) {
        if (!now.wet[k]) continue;
        Vec3 v = (now.at[k] - last.at[k]) * (1 / WAVE_STEP);
        double speed = length(v);
        fastest = std::fmax(fastest, speed);
        if (!last.wet[k]) pushWaveField(now.at[k].x, now.at[k].y, SPLASH * speed, BLADE_RADIUS);
        pushAlong(now.at[k], v, SWIRL * speed, BLADE_RADIUS);
    }
    if (last.known) {
        // The bow wave and the stern's trough, by how fast each end moves over the water.
        for (int e = 0; e < 2; ++e) {
            const Vec3& p = now.at[BLADE_SAMPLES + e];
            Vec3 v = (p - last.at[BLADE_SAMPLES + e]) * (1 / WAVE_STEP);
            double speed = std::hypot(v.x, v.y);
            pushWaveField(p.x, p.y, (e == 0 ? BOW_WAVE : -BOW_WAVE) * speed, HULL_RADIUS);
        }
    }
    stepWaveField();

    if (moving && now.anyWet && !last.anyWet) {
        ++bladeWater.catches;
        bladeWater.catchSpeed = fastest;
    }
    if (last.anyWet && !now.anyWet) bladeWater.sinceOut = 0;
    if (!now.anyWet) bladeWater.sinceOut += WAVE_STEP;
    bladeWater.wet = now.anyWet;
    bladeWater.wetSpeed = now.anyWet ? fastest : 0;
    bladeWater.bladeInCanoe = middle;
    last = now;
}
