// Quaternion helpers: Euler angles to quaternion, the slerp, and the conversions to and from a rotation
// matrix.
#include "base/quaternion.h"

#include <cmath>

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

Quaternion slerpRenormalised(const Quaternion& a, const Quaternion& b, double t) {
    Quaternion q = slerpQuaternion(a, b, t);
    double n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    q.x /= n;
    q.y /= n;
    q.z /= n;
    q.w /= n;
    return q;
}

// Shepperd's method: the largest of w, x, y, z is taken from the diagonal, the others from sums and
// differences of the off-diagonal pairs divided by it, which keeps the division well away from zero.
Quaternion matrixToQuaternion(const Matrix4& r) {
    double t = r.at(0, 0) + r.at(1, 1) + r.at(2, 2);
    Quaternion q;
    if (t > 0) {
        double s = std::sqrt(t + 1) * 2;
        q.w = s / 4;
        q.x = (r.at(2, 1) - r.at(1, 2)) / s;
        q.y = (r.at(0, 2) - r.at(2, 0)) / s;
        q.z = (r.at(1, 0) - r.at(0, 1)) / s;
    } else if (r.at(0, 0) > r.at(1, 1) && r.at(0, 0) > r.at(2, 2)) {
        double s = std::sqrt(1 + r.at(0, 0) - r.at(1, 1) - r.at(2, 2)) * 2;
        q.w = (r.at(2, 1) - r.at(1, 2)) / s;
        q.x = s / 4;
        q.y = (r.at(0, 1) + r.at(1, 0)) / s;
        q.z = (r.at(0, 2) + r.at(2, 0)) / s;
    } else if (r.at(1, 1) > r.at(2, 2)) {
        double s = std::sqrt(1 + r.at(1, 1) - r.at(0, 0) - r.at(2, 2)) * 2;
        q.w = (r.at(0, 2) - r.at(2, 0)) / s;
        q.x = (r.at(0, 1) + r.at(1, 0)) / s;
        q.y = s / 4;
        q.z = (r.at(1, 2) + r.at(2, 1)) / s;
    } else {
        double s = std::sqrt(1 + r.at(2, 2) - r.at(0, 0) - r.at(1, 1)) * 2;
        q.w = (r.at(1, 0) - r.at(0, 1)) / s;
        q.x = (r.at(0, 2) + r.at(2, 0)) / s;
        q.y = (r.at(1, 2) + r.at(2, 1)) / s;
        q.z = s / 4;
    }
    return q;
}
