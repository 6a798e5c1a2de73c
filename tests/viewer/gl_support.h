// Test-side helpers on a real OpenGL context: a freeglut window opened
// directly (the binding's start-up is not what these tests look at), GL
// feedback driven through the binding's own entries, and matching of the
// captured primitives against the model-space tables.
#pragma once

#include "house_model.h"

#include <GL/gl.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace gltest {

// Address of a value for a by-address entry; the value lives until the end
// of the full expression, which is as long as the entry reads it.
template <typename T>
const T *in(const T &value) {
  return &value;
}

// Opens a freeglut window (RGBA, single-buffered, depth buffer) whose context
// stays current, and sets the state the viewer's main program sets.
void openContext();

struct Vertex {
  model::Vec3 position;           // model space
  std::array<double, 4> colour;  // as OpenGL computed it (lit when lighting is on)
};
// One polygon or triangle: its distinct corners, and the sum of its
// triangles' normals as wound (pointing to the side from which the corners
// run counter-clockwise).
struct Primitive : std::vector<Vertex> {
  model::Vec3 winding{0, 0, 0};
};

// Captures in GL feedback mode what `draw` sends, with an orthographic
// projection 8 units wide on every axis. With `viewed`, the modelview is the
// viewer's rotation and lighting is on; otherwise both are off (identity
// modelview, colours as given). Positions come back in model space.
std::vector<Primitive> capture(const std::function<void()> &draw, bool viewed);

// Matches every expected face to one captured primitive with the same corners
// (in any order, within `tolerance`); adds a failure for each mismatch.
// Returns, for each expected face, the index of its primitive (or -1).
std::vector<int> matchFaces(const std::vector<Primitive> &actual, const std::vector<model::Face> &expected,
                            double tolerance = 2e-4);

// Checks that every vertex of each matched primitive has the colour its face
// is drawn in: with `viewed`, as lit by light 0 from the viewer's direction.
void expectColours(const std::vector<Primitive> &actual, const std::vector<model::Face> &expected,
                   const std::vector<int> &match, const std::array<float, 3> &wall,
                   const std::array<float, 3> &roof, bool viewed);

struct MatrixState {
  std::array<float, 16> modelview;
  GLint stackDepth;
  GLint matrixMode;
};
MatrixState matrixState();

}  // namespace gltest
