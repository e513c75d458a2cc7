// Vectors and rotation matrices of the engine: single precision, right-handed, y up.
#pragma once

#include <cmath>

namespace engine3d {

struct vec3 {
    float x, y, z;
};

inline vec3 operator+(vec3 a, vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline vec3 operator-(vec3 a, vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline vec3 operator*(vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline vec3 scaled(vec3 a, vec3 s) { return {a.x * s.x, a.y * s.y, a.z * s.z}; }
inline float dot(vec3 a, vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline vec3 cross(vec3 a, vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline vec3 normalized(vec3 a) {
    float length = std::sqrt(dot(a, a));
    return length > 0 ? a * (1 / length) : a;
}

// Rows of a 3 x 3 matrix: m * v = (dot(row[0], v), dot(row[1], v), dot(row[2], v)).
struct mat3 {
    vec3 row[3];
};

inline vec3 operator*(const mat3& m, vec3 v) {
    return {dot(m.row[0], v), dot(m.row[1], v), dot(m.row[2], v)};
}

inline mat3 operator*(const mat3& a, const mat3& b) {
    mat3 product;
    for (int i = 0; i < 3; ++i)
        product.row[i] = {dot(a.row[i], {b.row[0].x, b.row[1].x, b.row[2].x}),
                          dot(a.row[i], {b.row[0].y, b.row[1].y, b.row[2].y}),
                          dot(a.row[i], {b.row[0].z, b.row[1].z, b.row[2].z})};
    return product;
}

// RotateEntity's angles (a, b, c) in degrees: R = Ry(a) * Rx(b) * Rz(c), so the turn about
// z acts first and the turn about the vertical last; each counter-clockwise seen from the
// axis' positive end.
inline mat3 rotation_degrees(vec3 angles) {
    constexpr float radians_per_degree = 3.14159265358979f / 180;
    float ca = std::cos(angles.x * radians_per_degree), sa = std::sin(angles.x * radians_per_degree);
    float cb = std::cos(angles.y * radians_per_degree), sb = std::sin(angles.y * radians_per_degree);
    float cc = std::cos(angles.z * radians_per_degree), sc = std::sin(angles.z * radians_per_degree);
    mat3 about_y{{{ca, 0, sa}, {0, 1, 0}, {-sa, 0, ca}}};
    mat3 about_x{{{1, 0, 0}, {0, cb, -sb}, {0, sb, cb}}};
    mat3 about_z{{{cc, -sc, 0}, {sc, cc, 0}, {0, 0, 1}}};
    return about_y * (about_x * about_z);
}

}  // namespace engine3d
