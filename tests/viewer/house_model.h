// The house as its model-space tables describe it, computed independently of
// the viewer's code: the box faces, the door and windows, and the roof's
// planes, hip triangles and gable trapezoids, each with the outward normal
// its lighting uses and the colour it is drawn in.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace model {

struct Vec3 {
  double x, y, z;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }

// Row-major 3x3 rotation; the viewer's view is rotX(30) * rotY(30).
struct Mat3 {
  std::array<double, 9> m;
  Vec3 operator*(Vec3 v) const {
    return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
            m[6] * v.x + m[7] * v.y + m[8] * v.z};
  }
  Mat3 operator*(const Mat3 &b) const {
    Mat3 r{};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        for (int k = 0; k < 3; ++k) r.m[i * 3 + j] += m[i * 3 + k] * b.m[k * 3 + j];
    return r;
  }
  Mat3 transposed() const { return {{m[0], m[3], m[6], m[1], m[4], m[7], m[2], m[5], m[8]}}; }
};
constexpr double kPi = 3.14159265358979323846;
inline Mat3 rotX(double degrees) {
  const double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
  return {{1, 0, 0, 0, c, -s, 0, s, c}};
}
inline Mat3 rotY(double degrees) {
  const double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
  return {{c, 0, s, 0, 1, 0, -s, 0, c}};
}
inline Mat3 viewRotation() { return rotX(30) * rotY(30); }

enum class Colour { wall, roof, black };

struct Face {
  std::string name;
  std::vector<Vec3> corners;  // in no particular order
  Vec3 normal;                // the normal its vertices carry (outward)
  Colour colour;
};

// Rectangle centred on `centre`, spanning halfU along `u` and halfV along `v`.
inline std::vector<Vec3> rectangle(Vec3 centre, Vec3 u, double halfU, Vec3 v, double halfV) {
  return {centre - halfU * u - halfV * v, centre + halfU * u - halfV * v, centre + halfU * u + halfV * v,
          centre - halfU * u + halfV * v};
}

constexpr Vec3 kX{1, 0, 0}, kY{0, 1, 0}, kZ{0, 0, 1};

// The six walls, in drawing order: front, back, left, right, floor, ceiling.
inline std::vector<Face> box(double d, double w, double h) {
  return {
      {"front wall", rectangle({0, 0, d / 2}, kX, w / 2, kY, h / 2), kZ, Colour::wall},
      {"back wall", rectangle({0, 0, -d / 2}, kX, w / 2, kY, h / 2), -1 * kZ, Colour::wall},
      {"left wall", rectangle({-w / 2, 0, 0}, kZ, d / 2, kY, h / 2), -1 * kX, Colour::wall},
      {"right wall", rectangle({w / 2, 0, 0}, kZ, d / 2, kY, h / 2), kX, Colour::wall},
      {"floor", rectangle({0, -h / 2, 0}, kX, w / 2, kZ, d / 2), -1 * kY, Colour::wall},
      {"ceiling", rectangle({0, h / 2, 0}, kX, w / 2, kZ, d / 2), kY, Colour::wall},
  };
}

// Door and windows from the openings table: on the front wall (z = d/2) the
// horizontal extent runs along x; on the left wall (x = -w/2) along z.
inline std::vector<Face> openings(double d, double w, double h) {
  auto front = [&](const char *name, double x, double y, double sizeU, double sizeV) {
    return Face{name, rectangle({x, y, d / 2}, kX, sizeU / 2, kY, sizeV / 2), kZ, Colour::black};
  };
  auto left = [&](const char *name, double z, double y, double sizeU, double sizeV) {
    return Face{name, rectangle({-w / 2, y, z}, kZ, sizeU / 2, kY, sizeV / 2), -1 * kX, Colour::black};
  };
  if (d >= w)
    return {front("front window 1", -0.2 * w, 0, 0.2 * w, 0.4 * h),
            front("front window 2", 0.2 * w, 0, 0.2 * w, 0.4 * h),
            left("door (left wall)", 0.2 * d, -0.2 * h, 0.2 * d, 0.6 * h),
            left("small window (left wall)", -0.2 * d, 0, 0.2 * d, 0.2 * h)};
  return {front("door (front wall)", 0.2 * w, -0.2 * h, 0.2 * w, 0.6 * h),
          front("small window (front wall)", -0.2 * w, 0, 0.2 * w, 0.2 * h),
          left("left window 1", -0.2 * d, 0, 0.2 * d, 0.4 * h),
          left("left window 2", 0.2 * d, 0, 0.2 * d, 0.4 * h)};
}

// The roof. The ridge runs along the longer horizontal dimension (z when
// d >= w) at the height h/2 + rise, rise = tan(30 deg) * span/2. Each plane
// is 0.8 x length long at the ridge and 1.2 x length long from half-way down
// the slope to its eave, which reaches 1.2 times the wall line's distance
// from the ridge. Each end: a hip triangle from the ridge end (0.4 x length
// out) to the half-way line (0.6 x length out), and a vertical gable
// trapezoid in the end wall's plane from the wall top to the half-way line.
inline std::vector<Face> roof(double d, double w, double h) {
  const bool alongZ = d >= w;
  const double span = alongZ ? w : d, len = alongZ ? d : w;
  const double pitch = kPi / 6;
  const double rise = std::tan(pitch) * span / 2;
  const double ridge = h / 2 + rise;
  // (across, up, along) -> model space
  auto at = [&](double across, double y, double along) {
    return alongZ ? Vec3{across, y, along} : Vec3{along, y, across};
  };
  std::vector<Face> faces;
  for (int side : {1, -1}) {  // the plane sloping towards +across, then -across
    std::vector<Vec3> c;
    for (int end : {1, -1}) {
      c.push_back(at(0, ridge, end * 0.4 * len));
      c.push_back(at(side * span / 4, ridge - rise / 2, end * 0.6 * len));
      c.push_back(at(side * 0.6 * span, ridge - 1.2 * rise, end * 0.6 * len));
    }
    faces.push_back({side > 0 ? "roof plane +" : "roof plane -", c,
                     at(side * std::sin(pitch), std::cos(pitch), 0), Colour::roof});
  }
  for (int end : {1, -1}) {
    faces.push_back({end > 0 ? "hip triangle +" : "hip triangle -",
                     {at(0, ridge, end * 0.4 * len), at(-span / 4, ridge - rise / 2, end * 0.6 * len),
                      at(span / 4, ridge - rise / 2, end * 0.6 * len)},
                     at(0, 0, end),
                     Colour::roof});
    faces.push_back({end > 0 ? "gable +" : "gable -",
                     {at(-span / 4, ridge - rise / 2, end * 0.5 * len), at(span / 4, ridge - rise / 2, end * 0.5 * len),
                      at(span / 2, h / 2, end * 0.5 * len), at(-span / 2, h / 2, end * 0.5 * len)},
                     at(0, 0, end),
                     Colour::wall});
  }
  return faces;
}

// Brightness factor of a colour-material surface under light 0 at its
// initial settings (white, directional along the line of sight) and the
// default scene ambient 0.2: 0.2 + max(0, n . z) for an eye-space normal n.
inline double shade(Vec3 eyeNormal) { return 0.2 + std::max(0.0, eyeNormal.z); }

}  // namespace model
