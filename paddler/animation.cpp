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

void startAnimation() {
    animationOn = true;
    startClip(0);
}

void startClipAfresh(int clip, int side) {
    strokeState = StrokeState();
    strokeState.paddleSide = side;
    strokeState.currentClip = strokeState.requestedClip = clip;
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
