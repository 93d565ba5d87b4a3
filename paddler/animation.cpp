// The clip clock, the per-bone key step and the walk over the bones; no allocation, no checks (the loader
// vouched for clip lengths, track counts and key order).
#include "paddler/animation.h"

#include "paddler/skeleton.h"
#include "paddler/strokes.h"

#include <cmath>

ClipClock clipClock;
bool animationOn = false;
int32_t paddlerClipCount = 0;
AnimationClip* paddlerClips = nullptr;

double clipDurationOf(int clip) {
    return double(paddlerClips[clip].frameCount) / double(paddlerClips[clip].framesPerSecond);
}

void startClip(double start) {
    int clip = strokeState.currentClip;
    clipClock.clipStartTime = start;
    clipClock.clipElapsed = 0;
    clipClock.clipDuration = clipDurationOf(clip);
    double frames = paddlerClips[clip].frameCount;
    for (int i = 0; i < boneCount; ++i) {
        Bone& bone = bones[i];
        const RotationTrack& track = bone.node->tracks[clip];
        int n = track.keyCount;
        bone.currentKey = 0;
        bone.keyTimes[0] = 0;
        for (int j = 0; j + 1 < n; ++j)
            bone.keyTimes[j + 1] =
                bone.keyTimes[j] +
                ((double(track.keys[j + 1].frame) - double(track.keys[j].frame)) / frames) *
                    clipClock.clipDuration;
        if (n >= 2) bone.keyTimes[n - 1] = clipClock.clipDuration;
    }
}

void setClipElapsed(double seconds) {
    clipClock.clipElapsed = seconds;
}

void startAnimation() {
    animationOn = true;
    startClip(0);
}

void startClipAfresh(int clip, int side) {
    resetStrokes(clip, side);
    startAnimation();
}

void updateHierarchy() {
    for (int i = 0; i < boneCount; ++i) {
        Bone& bone = bones[i];
        if (animationOn)
            updateBoneKeyframes(i);
        else
            bone.animLocal = bone.restLocal;
        bone.animGlobal = i == 0 ? bone.animLocal : bones[bone.parentIndex].animGlobal * bone.animLocal;
        bone.skinMatrix = bone.animGlobal * bone.inverseRestGlobal;
    }
}

void updateBoneKeyframes(int i) {
    Bone& bone = bones[i];
    bone.animLocal = bone.restLocal;
    const RotationTrack& track = bone.node->tracks[strokeState.currentClip];
    int n = track.keyCount;
    if (n == 0) return;
    if (n == 1) {
        // One key is no segment: the bone holds that key's pose for the whole clip.
        bone.animLocal = bone.animLocal * keyPoseMatrix(track.keys[0]);
        return;
    }
    double t = std::fmin(std::fmax(clipClock.clipElapsed, 0.0), clipClock.clipDuration);
    // The segment [k, k + 1] that holds t; the search starts from the last frame's segment.
    int k = t < bone.keyTimes[bone.currentKey] ? 0 : bone.currentKey;
    while (k + 2 < n && bone.keyTimes[k + 1] <= t)
        ++k;
    bone.currentKey = k;
    double span = bone.keyTimes[k + 1] - bone.keyTimes[k];
    double alpha = span > 0 ? (t - bone.keyTimes[k]) / span : 1.0;
    alpha = std::fmin(std::fmax(alpha, 0.0), 1.0);
    const RotationKey& a = track.keys[k];
    const RotationKey& b = track.keys[k + 1];
    Quaternion q = slerpQuaternion(eulerToQuaternion(a.angleX, a.angleY, a.angleZ),
                                   eulerToQuaternion(b.angleX, b.angleY, b.angleZ), alpha);
    bone.animLocal = bone.animLocal * quaternionToMatrix(q);
}

Matrix4 keyPoseMatrix(const RotationKey& key) {
    double dx = key.angleX / DEGREES_TO_RADIANS, dy = key.angleY / DEGREES_TO_RADIANS,
           dz = key.angleZ / DEGREES_TO_RADIANS;
    Matrix4 rx, ry, rz;
    rx.setRotationX(dx);
    ry.setRotationY(dy);
    rz.setRotationZ(dz);
    return rz * ry * rx;
}
