// The paddler's seat and the paddle's grip.
#include "paddler/placement.h"

#include "paddler/skeleton.h"

Matrix4 paddlerSeatMatrix() {
    return scaleMatrix(1.1, 1.2, 1.2) * translationMatrix(2.0, -8.3, 0) *
           translationMatrix(-3.0, -14.5, -34.0) * rotationX(7) * rotationY(4);
}

Matrix4 paddlePlacement(int side, const Bone* bones) {
    const Matrix4& hand = bones[side == 1 ? PADDLE_BONE_SIDE1 : PADDLE_BONE_SIDE0].animGlobal;
    const Matrix4& rest = bones[side == 1 ? PADDLE_BONE_SIDE1 : PADDLE_BONE_SIDE0].restGlobal;
    Matrix4 grip = translationMatrix(PADDLE_GRIP_X[side == 1 ? 1 : 0], PADDLE_GRIP_Y, PADDLE_GRIP_Z) *
                   translationMatrix(-rest.m[12], -rest.m[13], -rest.m[14]);
    if (side != 1) grip = grip * rotationZ(PADDLE_SIDE0_TURN);
    return hand * grip * rotationZ(PADDLE_GRIP_TURN);
}
