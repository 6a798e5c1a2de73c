/* compute_direct.c: the program of compute.f written in C with direct OpenGL
 * calls: the same 4.3 core-profile window, compute shaders, storage buffers,
 * dispatches, memory barriers, atomic counter, image store, read-back,
 * checks against the processor and points drawn from the storage buffer, in
 * the same order with the same values.
 *
 * Build: cc compute_direct.c -lglut -lGL -lm
 */
#define GL_GLEXT_PROTOTYPES
#include <GL/freeglut.h>
#include <GL/glext.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { N = 1024, NSTEP = 8, LOCAL = 256, LIMIT = 500, NSIDE = 32 };
static GLuint step, sum, count, draw, vao, buf[4], tex;
static GLint u[N], v[N], gpu[N], total[1], img[N], above[1];
static int iw = 320, ih = 240;

static const char *const cs1[] = {
    "#version 430 core",
    "layout(local_size_x = 256) in;",
    "layout(std430, binding = 0) readonly buffer Src {",
    "  int u[]; };",
    "layout(std430, binding = 1) writeonly buffer Dst {",
    "  int v[]; };",
    "void main() {",
    "  int i = int(gl_GlobalInvocationID.x);",
    "  int n = u.length();",
    "  if (i == 0 || i == n - 1) v[i] = u[i];",
    "  else if (i < n)",
    "    v[i] = (u[i - 1] + 2 * u[i] + u[i + 1]) / 4;",
    "}",
};
static const char *const cs2[] = {
    "#version 430 core",
    "layout(local_size_x = 256) in;",
    "layout(std430, binding = 0) readonly buffer Src {",
    "  int u[]; };",
    "layout(std430, binding = 2) buffer Total { int total; };",
    "shared int part[256];",
    "void main() {",
    "  uint l = gl_LocalInvocationID.x;",
    "  int i = int(gl_GlobalInvocationID.x);",
    "  part[l] = i < u.length() ? u[i] : 0;",
    "  barrier();",
    "  for (uint s = 128u; s > 0u; s >>= 1) {",
    "    if (l < s) part[l] += part[l + s];",
    "    barrier();",
    "  }",
    "  if (l == 0u) atomicAdd(total, part[0]);",
    "}",
};
static const char *const cs3[] = {
    "#version 430 core",
    "layout(local_size_x = 256) in;",
    "layout(std430, binding = 0) readonly buffer Src {",
    "  int u[]; };",
    "layout(binding = 0, offset = 0) uniform atomic_uint above;",
    "layout(binding = 0, r32i) writeonly uniform iimage2D steps;",
    "uniform int limit;",
    "void main() {",
    "  int i = int(gl_GlobalInvocationID.x);",
    "  if (u[i] > limit) atomicCounterIncrement(above);",
    "  imageStore(steps, ivec2(i % 32, i / 32),",
    "    ivec4(i == 0 ? 0 : u[i] - u[i - 1])); }",
};
static const char *const vs[] = {
    "#version 430 core",
    "layout(location = 0) in int v;",
    "uniform int n;",
    "out vec3 c;",
    "void main() {",
    "  float t = float(v) / 1000.0;",
    "  float x = float(gl_VertexID) / float(n - 1);",
    "  c = vec3(t, 0.25, 1.0 - t);",
    "  gl_Position = vec4(1.75 * x - 0.875, 1.75 * t - 0.875,",
    "    0.0, 1.0);",
    "}",
};
static const char *const fs[] = {
    "#version 430 core",
    "in vec3 c;",
    "out vec4 colour;",
    "void main() { colour = vec4(c, 1.0); }",
};

/* The lines joined, each ended by a newline, as the layer hands them over. */
static GLuint shader(GLenum kind, const char *const *lines, int n) {
  static char text[4096];
  GLuint s = glCreateShader(kind);
  const char *src = text;
  GLint ok;
  int i;
  text[0] = '\0';
  for (i = 0; i < n; ++i) {
    strcat(text, lines[i]);
    strcat(text, "\n");
  }
  glShaderSource(s, 1, &src, NULL);
  glCompileShader(s);
  glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[2000];
    glGetShaderInfoLog(s, sizeof log, NULL, log);
    printf("COMPILE FAILED\n%s\n", log);
    exit(1);
  }
  return s;
}

static GLuint link(GLuint a, GLuint b) {
  GLuint p = glCreateProgram();
  GLint ok;
  glAttachShader(p, a);
  if (b != 0) glAttachShader(p, b);
  glLinkProgram(p);
  glGetProgramiv(p, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[2000];
    glGetProgramInfoLog(p, sizeof log, NULL, log);
    printf("LINK FAILED\n%s\n", log);
    exit(1);
  }
  glDeleteShader(a);
  if (b != 0) glDeleteShader(b);
  return p;
}

/* The same steps on the processor: the smoothed values in v, their sum. */
static int cpu(void) {
  int k, i, s = 0;
  memcpy(v, u, sizeof u);
  for (k = 0; k < NSTEP; ++k) {
    GLint w[N];
    memcpy(w, v, sizeof v);
    for (i = 1; i < N - 1; ++i) v[i] = (w[i - 1] + 2 * w[i] + w[i + 1]) / 4;
  }
  for (i = 0; i < N; ++i) s += v[i];
  return s;
}

static void compute(void) {
  static const GLint zero[1] = {0};
  const GLuint groups = N / LOCAL; /* N is a multiple of LOCAL */
  int i, k, bad = 0, maxdif = 0, s;
  for (i = 0; i < N; ++i) {
    int j = i + 1; /* as compute.f's I, counting from 1 */
    u[i] = 500 * (j / 128 % 2) + (j * j * 37 + j * 11) % 400 + 50;
  }
  glGenBuffers(4, buf);
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, buf[0]);
  glBufferData(GL_SHADER_STORAGE_BUFFER, 4 * N, u, GL_DYNAMIC_DRAW);
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, buf[1]);
  glBufferData(GL_SHADER_STORAGE_BUFFER, 4 * N, u, GL_DYNAMIC_DRAW);
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, buf[2]);
  glBufferData(GL_SHADER_STORAGE_BUFFER, 4, zero, GL_DYNAMIC_DRAW);
  glUseProgram(step);
  for (k = 0; k < NSTEP; ++k) {
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 0, buf[k % 2]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 1, buf[1 - k % 2]);
    glDispatchCompute(groups, 1, 1);
    glMemoryBarrier(GL_SHADER_STORAGE_BARRIER_BIT);
  }
  glUseProgram(sum);
  glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 0, buf[0]);
  glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 2, buf[2]);
  glDispatchCompute(groups, 1, 1);
  glMemoryBarrier(GL_BUFFER_UPDATE_BARRIER_BIT | GL_VERTEX_ATTRIB_ARRAY_BARRIER_BIT);
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, buf[0]);
  glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, 4 * N, gpu);
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, buf[2]);
  glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, 4, total);
  s = cpu();
  for (i = 0; i < N; ++i) {
    int d = abs(gpu[i] - v[i]);
    if (d != 0) ++bad;
    if (d > maxdif) maxdif = d;
  }
  if (bad != 0 || total[0] != s) {
    printf("COMPUTE FAILED%8d%12d%12d\n", bad, total[0], s);
    exit(1);
  }
  printf("COMPUTE OK%8d%12d%4d\n", N, total[0], maxdif);
  fflush(stdout);
}

/* The count above LIMIT by an atomic counter and the steps between
 * neighbours in a 32 x 32 GL_R32I image, read back and checked against the
 * processor's result v. */
static void tally(void) {
  int i, nabove = 0, bad = 0, maxstep = 0;
  above[0] = 0;
  glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, buf[3]);
  glBufferData(GL_ATOMIC_COUNTER_BUFFER, 4, above, GL_DYNAMIC_DRAW);
  glBindBufferBase(GL_ATOMIC_COUNTER_BUFFER, 0, buf[3]);
  glGenTextures(1, &tex);
  glBindTexture(GL_TEXTURE_2D, tex);
  glTexStorage2D(GL_TEXTURE_2D, 1, GL_R32I, NSIDE, NSIDE);
  glBindImageTexture(0, tex, 0, GL_FALSE, 0, GL_WRITE_ONLY, GL_R32I);
  glUseProgram(count);
  glUniform1i(glGetUniformLocation(count, "limit"), LIMIT);
  glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 0, buf[0]);
  glDispatchCompute(N / LOCAL, 1, 1);
  glMemoryBarrier(GL_BUFFER_UPDATE_BARRIER_BIT | GL_TEXTURE_UPDATE_BARRIER_BIT);
  glGetBufferSubData(GL_ATOMIC_COUNTER_BUFFER, 0, 4, above);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RED_INTEGER, GL_INT, img);
  for (i = 0; i < N; ++i) {
    int d = i == 0 ? 0 : v[i] - v[i - 1];
    if (v[i] > LIMIT) ++nabove;
    if (img[i] != d) ++bad;
    if (abs(d) > maxstep) maxstep = abs(d);
  }
  if (above[0] != nabove) {
    printf("COUNTER FAILED%8d%8d\n", above[0], nabove);
    exit(1);
  }
  printf("COUNTER OK%8d%8d\n", LIMIT, above[0]);
  if (bad != 0) {
    printf("IMAGE FAILED%8d\n", bad);
    exit(1);
  }
  printf("IMAGE OK%4d%4d%8d\n", NSIDE, NSIDE, maxstep);
  fflush(stdout);
}

static void setup(void) {
  GLuint c1 = shader(GL_COMPUTE_SHADER, cs1, sizeof cs1 / sizeof cs1[0]);
  GLuint c2 = shader(GL_COMPUTE_SHADER, cs2, sizeof cs2 / sizeof cs2[0]);
  GLuint c3 = shader(GL_COMPUTE_SHADER, cs3, sizeof cs3 / sizeof cs3[0]);
  GLuint a = shader(GL_VERTEX_SHADER, vs, sizeof vs / sizeof vs[0]);
  GLuint b = shader(GL_FRAGMENT_SHADER, fs, sizeof fs / sizeof fs[0]);
  step = link(c1, 0);
  sum = link(c2, 0);
  count = link(c3, 0);
  draw = link(a, b);
  compute();
  tally();
  glGenVertexArrays(1, &vao);
  glBindVertexArray(vao);
  glBindBuffer(GL_ARRAY_BUFFER, buf[0]);
  glVertexAttribIPointer(0, 1, GL_INT, 0, (const void *)0);
  glEnableVertexAttribArray(0);
  glUseProgram(draw);
  glUniform1i(glGetUniformLocation(draw, "n"), N);
  glPointSize(3.0f);
}

static void reshape(int w, int h) {
  iw = w;
  ih = h;
  glViewport(0, 0, w, h);
}

static void display(void) {
  GLfloat p[4];
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glDrawArrays(GL_POINTS, 0, N);
  glFinish();
  glReadPixels(iw / 2, ih / 2, 1, 1, GL_RGBA, GL_FLOAT, p);
  printf("CENTRE%4ld%4ld%4ld%4ld\n", lroundf(255.0f * p[0]), lroundf(255.0f * p[1]), lroundf(255.0f * p[2]),
         lroundf(255.0f * p[3]));
  fflush(stdout);
  glutSwapBuffers();
}

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  glutInitContextVersion(4, 3);
  glutInitContextProfile(GLUT_CORE_PROFILE);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE);
  glutInitWindowSize(320, 240);
  glutCreateWindow("Fortran compute");
  glutDisplayFunc(display);
  glutReshapeFunc(reshape);
  setup();
  glutMainLoop();
  return 0;
}
