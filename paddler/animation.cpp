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

Quaternion eulerToQuaternion(double ax, double ay, double az) {
    float cx = float(std::cos(ax / 2)), cy = float(std::cos(ay / 2)), cz = float(std::cos(az / 2));
    float sx = float(std::sin(ax / 2)), sy = float(std::sin(ay / 2)), sz = float(std::sin(az / 2));
    float cycz = cy * cz, sysz = sy * sz;
    Quaternion q;
    q.w = cx * cycz + sx * sysz;
    q.x = sx * cycz - cx * sysz;
    q.y = cx * sy * cz + sx * cy * sz;
    q.z = cx * cy * sz - sx * sy * cz;
    return q;
}

Quaternion slerpQuaternion(const Quaternion& a0, const Quaternion& b, double t) {
    Quaternion a = a0;
    double c = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    if (c < 0) {
        c = -c;
        a.x = -a.x;
        a.y = -a.y;
        a.z = -a.z;
        a.w = -a.w;
    }
    double sa, sb;
    if (1 - c <= 0.0001) {
        sa = 1 - t;
        sb = t;
    } else {
        double omega = std::acos(c);
        sa = std::sin((1 - t) * omega) / std::sin(omega);
        sb = std::sin(t * omega) / std::sin(omega);
    }
    Quaternion q;
    q.x = sa * a.x + sb * b.x;
    q.y = sa * a.y + sb * b.y;
    q.z = sa * a.z + sb * b.z;
    q.w = sa * a.w + sb * b.w;
    return q;
}

Matrix4 quaternionToMatrix(const Quaternion& q) {
    double x = q.x, y = q.y, z = q.z, w = q.w;
    return Matrix4(1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y), 0, //
                   2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x), 0, //
                   2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y), 0, //
                   0, 0, 0, 1);
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
