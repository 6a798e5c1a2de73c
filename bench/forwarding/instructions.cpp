// Calls each of a few generated forwarding entries, and the same commands
// directly, kCalls times over the do-nothing libGL, each loop in a function of
// its own (direct_X, through_X), for callgrind to count the instructions of
// (bench/forwarding/instructions). Both loops read their arguments from
// memory on every call, as a caller passing variables by address does.
#include <initializer_list>

#include "fgl.h"

namespace {
constexpr int kCalls = 100000;
inline void clobber() { asm volatile("" ::: "memory"); }
}  // namespace

#define FGL_PAIR(name, direct_call, through_call)            \
  extern "C" __attribute__((noinline)) void direct_##name() {  \
    for (int i = 0; i < kCalls; ++i) {                       \
      clobber();                                             \
      direct_call;                                           \
    }                                                        \
  }                                                          \
  extern "C" __attribute__((noinline)) void through_##name() { \
    for (int i = 0; i < kCalls; ++i) {                       \
      clobber();                                             \
      through_call;                                          \
    }                                                        \
  }

GLint location = 3;
GLfloat x = 1.0f, y = 2.0f, z = 3.0f;
GLuint index = 1, buffer = 7;
GLenum target = GL_ARRAY_BUFFER;
GLenum patch_vertices = GL_PATCH_VERTICES;
GLint three = 3;
GLuint groups_x = 64, groups_y = 1, groups_z = 1;

FGL_PAIR(Uniform1f, glUniform1f(location, x), fglUniform1f(&location, &x))
FGL_PAIR(VertexAttrib3f, glVertexAttrib3f(index, x, y, z), fglVertexAttrib3f(&index, &x, &y, &z))
FGL_PAIR(BindBuffer, glBindBuffer(target, buffer), fglBindBuffer(&target, &buffer))
FGL_PAIR(Vertex3f, glVertex3f(x, y, z), fglVertex3f(&x, &y, &z))
FGL_PAIR(PatchParameteri, glPatchParameteri(patch_vertices, three), fglPatchParameteri(&patch_vertices, &three))
FGL_PAIR(DispatchCompute, glDispatchCompute(groups_x, groups_y, groups_z),
         fglDispatchCompute(&groups_x, &groups_y, &groups_z))

int main() {
  for (auto f : {direct_Uniform1f, through_Uniform1f, direct_VertexAttrib3f, through_VertexAttrib3f,
                 direct_BindBuffer, through_BindBuffer, direct_Vertex3f, through_Vertex3f, direct_PatchParameteri,
                 through_PatchParameteri, direct_DispatchCompute, through_DispatchCompute})
    f();
  return 0;
}
