// The clip clock, the per-bone key step and the hierarchy walk; no allocation, no checks (the loader
// vouched for clip lengths, track counts and key order).
#include "paddler/animation.h"

#include "scene/clock.h"
#include "paddler/skeleton.h"
#include "paddler/strokes.h"

#include <cmath>

ClipClock clipClock;
bool animationOn = false;
int32_t paddlerClipCount = 0;
AnimationClip* paddlerClips = nullptr;
AnimationHooks animationHooks = {wallClockSeconds, moveCanoe, chooseNextClip};

namespace {

double durationOf(int clip) {
    return double(paddlerClips[clip].frameCount) / double(paddlerClips[clip].framesPerSecond);
}

void startClip(Bone& bone, const RotationTrack& track, int i) {
    if (i == 0) {
        animationHooks.moveCanoe(strokeState.requestedClip);
        clipClock.clipStartTime = animationHooks.now();
    }
    bone.keyTimes[0] = 0;
    bone.clipState = 1;
    bone.currentKey = 0;
    int n = track.keyCount;
    if (n <= 0) return;
    int frames = paddlerClips[strokeState.currentClip].frameCount;
    for (int j = 0; j + 1 < n; ++j) {
        bone.keyTimes[j + 1] =
            bone.keyTimes[j] +
            ((double(track.keys[j + 1].frame) - double(track.keys[j].frame)) / double(frames)) *
                clipClock.clipDuration;
        if (j == n - 2) bone.keyTimes[n - 1] = clipClock.clipDuration;
    }
    bone.animLocal = bone.animLocal * keyPoseMatrix(track.keys[0]);
}

} // namespace

void startAnimation() {
    animationOn = true;
    clipClock.clipDuration = durationOf(strokeState.currentClip);
}

void startClipAfresh(int clip, int side) {
    strokeState = StrokeState();
    strokeState.paddleSide = side;
    strokeState.currentClip = strokeState.requestedClip = clip;
    clipClock = ClipClock();
    for (int i = 0; i < boneCount; ++i)
        bones[i].clipState = -1;
    startAnimation();
}

void poseSkeleton() {
    boneVisitCounter = 0;
    updateHierarchy(bones[0].node);
}

void updateHierarchy(SkeletonNode* node) {
    int i = boneVisitCounter++;
    Bone& bone = bones[i];
    bone.restGlobal = i == 0 ? bone.restLocal : bones[bone.parentIndex].restGlobal * bone.restLocal;
    bone.animLocal = bone.restLocal;
    if (animationOn) updateBoneKeyframes(node, i);
    bone.animGlobal = i == 0 ? bone.animLocal : bones[bone.parentIndex].animGlobal * bone.animLocal;
    bone.inverseRestGlobal = invertMatrix(bone.restGlobal);
    bone.skinMatrix = bone.animGlobal * bone.inverseRestGlobal;
    for (int c = 0; c < node->childCount; ++c)
        updateHierarchy(&node->children[c]);
}

void updateBoneKeyframes(SkeletonNode* node, int i) {
    Bone& bone = bones[i];
    const RotationTrack& track = node->tracks[strokeState.currentClip];
    int n = track.keyCount;
    if (bone.clipState != 1) {
        startClip(bone, track, i);
        return;
    }
    if (i == 0) {
        clipClock.clipElapsed = animationHooks.now() - clipClock.clipStartTime;
        animationHooks.moveCanoe(strokeState.requestedClip);
    }
    double elapsed = clipClock.clipElapsed;
    if (elapsed < clipClock.clipDuration) {
        // The key index catches up with the clip clock, however many keys a slow frame skipped; a key
        // counts as passed 0.004 s after its time. Only a track with a segment moves its key: the key
        // times of shorter tracks are stale.
        while (bone.currentKey + 2 < n && bone.keyTimes[bone.currentKey + 1] + 0.004 <= elapsed)
            ++bone.currentKey;
    } else {
        clipClock.clipEnded = true;
    }
    if (clipClock.clipEnded) {
        if (n > 0) bone.animLocal = bone.animLocal * keyPoseMatrix(track.keys[n - 1]);
        bone.clipState = 0;
        if (node->id == boneCount) {
            animationHooks.chooseNextClip();
            clipClock.clipEnded = false;
            strokeState.currentClip = strokeState.requestedClip;
            clipClock.clipDuration = durationOf(strokeState.currentClip);
        }
        return;
    }
    if (n == 1) {
        // One key is no segment: the bone holds that key's pose for the whole clip.
        bone.animLocal = bone.animLocal * keyPoseMatrix(track.keys[0]);
    } else if (n >= 2) {
        int k = bone.currentKey;
        double alpha = (elapsed - bone.keyTimes[k]) / (bone.keyTimes[k + 1] - bone.keyTimes[k]);
        // Up to 0.004 s past a key the segment before it still plays: hold its end pose there rather than
        // run the slerp on beyond it.
        if (alpha > 1) alpha = 1;
        const RotationKey& a = track.keys[k];
        const RotationKey& b = track.keys[k + 1];
        Quaternion q = slerpQuaternion(eulerToQuaternion(a.angleX, a.angleY, a.angleZ),
                                       eulerToQuaternion(b.angleX, b.angleY, b.angleZ), alpha);
        bone.animLocal = bone.animLocal * quaternionToMatrix(q);
    }
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
