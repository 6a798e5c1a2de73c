/* shaded_direct.c: the program of shaded.f written in C with direct OpenGL
 * calls: the same 3.3 core-profile window, shaders, buffers, vertex array
 * object, uniform block, instanced draw, framebuffer object, blit, fence
 * sync and read-back, in the same order with the same values.
 *
 * Build: cc shaded_direct.c -lglut -lGL
 */
#define GL_GLEXT_PROTOTYPES
#include <GL/freeglut.h>
#include <GL/glext.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { NG = 17 };
static GLuint prog, vao, vbo, ebo, ubo, tex, fbo, rbc, rbd;
static int iw = 320, ih = 240;

static const char *const vs[] = {
    "#version 330 core",
    "layout(std140) uniform Matrices {",
    "  mat4 proj;",
    "  mat4 view;",
    "};",
    "layout(location = 0) in vec3 pos;",
    "layout(location = 1) in vec2 uv;",
    "out vec2 tuv; out vec3 nrm;",
    "void main() {",
    "  float dx = float(gl_InstanceID - 1) * 1.25;",
    "  nrm = vec3(pos.x * (1.0 - pos.z * pos.z), 1.0,",
    "             pos.z * (1.0 - pos.x * pos.x));",
    "  tuv = uv; gl_Position = proj * view *",
    "    vec4(pos * 0.5 + vec3(dx, 0.0, 0.0), 1.0); }",
};
static const char *const fs[] = {
    "#version 330 core",
    "uniform sampler2D tex;",
    "in vec2 tuv; in vec3 nrm;",
    "out vec4 colour;",
    "void main() {",
    "  vec3 l = normalize(vec3(0.25, 1.0, 0.5));",
    "  float d = max(dot(normalize(nrm), l), 0.0);",
    "  vec3 t = texture(tex, tuv).rgb;",
    "  colour = vec4(t * (0.25 + 0.75 * d), 1.0);",
    "}",
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

static void mesh(void) {
  static GLfloat v[NG][NG][5];
  static GLuint idx[NG - 1][NG - 1][6];
  static const GLfloat zero[32];
  int i, j;
  for (j = 0; j < NG; ++j) {
    for (i = 0; i < NG; ++i) {
      GLfloat x = (GLfloat)i * 0.125f - 1.0f, z = (GLfloat)j * 0.125f - 1.0f;
      v[j][i][0] = x;
      v[j][i][1] = (1.0f - x * x) * (1.0f - z * z) * 0.5f;
      v[j][i][2] = z;
      v[j][i][3] = (GLfloat)i * 0.0625f;
      v[j][i][4] = (GLfloat)j * 0.0625f;
    }
  }
  for (j = 0; j < NG - 1; ++j) {
    for (i = 0; i < NG - 1; ++i) {
      GLuint k = (GLuint)(j * NG + i);
      idx[j][i][0] = k;
      idx[j][i][1] = k + NG;
      idx[j][i][2] = k + 1;
      idx[j][i][3] = k + 1;
      idx[j][i][4] = k + NG;
      idx[j][i][5] = k + NG + 1;
    }
  }
  glGenVertexArrays(1, &vao);
  glBindVertexArray(vao);
  glGenBuffers(1, &vbo);
  glBindBuffer(GL_ARRAY_BUFFER, vbo);
  glBufferData(GL_ARRAY_BUFFER, sizeof v, v, GL_STATIC_DRAW);
  glGenBuffers(1, &ebo);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ebo);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof idx, idx, GL_STATIC_DRAW);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 20, (const void *)0);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 20, (const void *)12);
  glEnableVertexAttribArray(0);
  glEnableVertexAttribArray(1);
  glGenBuffers(1, &ubo);
  glBindBuffer(GL_UNIFORM_BUFFER, ubo);
  glBufferData(GL_UNIFORM_BUFFER, 128, zero, GL_DYNAMIC_DRAW);
  glBindBufferBase(GL_UNIFORM_BUFFER, 0, ubo);
}

static void texture(void) {
  static GLfloat t[8][8][3];
  int i, j;
  for (j = 0; j < 8; ++j) {
    for (i = 0; i < 8; ++i) {
      int even = (i + j) % 2 == 0; /* as shaded.f's MOD(I + J, 2), counting from 1 */
      t[j][i][0] = even ? 1.0f : 0.25f;
      t[j][i][1] = even ? 0.875f : 0.5f;
      t[j][i][2] = even ? 0.5f : 0.75f;
    }
  }
  glGenTextures(1, &tex);
  glBindTexture(GL_TEXTURE_2D, tex);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 8, 8, 0, GL_RGB, GL_FLOAT, t);
}

static void store(void) {
  glBindRenderbuffer(GL_RENDERBUFFER, rbc);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, iw, ih);
  glBindRenderbuffer(GL_RENDERBUFFER, rbd);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, iw, ih);
}

static void target(void) {
  glGenRenderbuffers(1, &rbc);
  glGenRenderbuffers(1, &rbd);
  store();
  glGenFramebuffers(1, &fbo);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, rbc);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, rbd);
}

static void setup(void) {
  GLuint v = shader(GL_VERTEX_SHADER, vs, sizeof vs / sizeof vs[0]);
  GLuint f = shader(GL_FRAGMENT_SHADER, fs, sizeof fs / sizeof fs[0]);
  GLint ok;
  prog = glCreateProgram();
  glAttachShader(prog, v);
  glAttachShader(prog, f);
  glLinkProgram(prog);
  glGetProgramiv(prog, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[2000];
    glGetProgramInfoLog(prog, sizeof log, NULL, log);
    printf("LINK FAILED\n%s\n", log);
    exit(1);
  }
  glUseProgram(prog);
  glUniformBlockBinding(prog, glGetUniformBlockIndex(prog, "Matrices"), 0);
  glDeleteShader(v);
  glDeleteShader(f);
  mesh();
  texture();
  target();
}

static void reshape(int w, int h) {
  GLfloat m[2][4][4] = {{{0}}};
  int s = w < h ? w : h;
  iw = w;
  ih = h;
  store();
  m[0][0][0] = 2.0f * (GLfloat)s / (GLfloat)w;
  m[0][1][1] = 2.0f * (GLfloat)s / (GLfloat)h;
  m[0][2][2] = -1.25f;
  m[0][2][3] = -1.0f;
  m[0][3][2] = -2.25f;
  m[1][0][0] = 1.0f;
  m[1][1][1] = 0.8f;
  m[1][1][2] = 0.6f;
  m[1][2][1] = -0.6f;
  m[1][2][2] = 0.8f;
  m[1][3][1] = -0.25f;
  m[1][3][2] = -3.5f;
  m[1][3][3] = 1.0f;
  glBindBuffer(GL_UNIFORM_BUFFER, ubo);
  glBufferSubData(GL_UNIFORM_BUFFER, 0, 128, m);
}

static void display(void) {
  GLsync sync;
  GLfloat p[4];
  glBindFramebuffer(GL_FRAMEBUFFER, fbo);
  glViewport(0, 0, iw, ih);
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glUseProgram(prog);
  glBindVertexArray(vao);
  glBindTexture(GL_TEXTURE_2D, tex);
  glDrawElementsInstanced(GL_TRIANGLES, 6 * 16 * 16, GL_UNSIGNED_INT, (const void *)0, 3);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glBlitFramebuffer(0, 0, iw, ih, 0, 0, iw, ih, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  sync = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
  while (glClientWaitSync(sync, GL_SYNC_FLUSH_COMMANDS_BIT, 100000000) == GL_TIMEOUT_EXPIRED) {
  }
  glDeleteSync(sync);
  glReadPixels(iw / 2, ih / 2, 1, 1, GL_RGBA, GL_FLOAT, p);
  printf("CENTRE%4ld%4ld%4ld%4ld\n", lroundf(255.0f * p[0]), lroundf(255.0f * p[1]), lroundf(255.0f * p[2]),
         lroundf(255.0f * p[3]));
  fflush(stdout);
  glFlush();
}

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  glutInitContextVersion(3, 3);
  glutInitContextProfile(GLUT_CORE_PROFILE);
  glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE);
  glutInitWindowSize(320, 240);
  glutCreateWindow("Fortran shaded");
  glutDisplayFunc(display);
  glutReshapeFunc(reshape);
  setup();
  glutMainLoop();
  return 0;
}
