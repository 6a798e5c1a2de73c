/* gentle_direct.c: the program of gentle.f written in C with direct OpenGL
 * calls: GLSL 1.20 shaders on top of a fixed-function scene, in the same
 * order with the same values.
 *
 * Build: cc gentle_direct.c -lglut -lGL
 */
#define GL_GLEXT_PROTOTYPES
#include <GL/freeglut.h>
#include <GL/glext.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

static GLuint prog;
static GLint mixing;

static void setup(void) {
  const char *vs =
      "#version 120\nvoid main() {\n  gl_FrontColor = gl_Color;\n  gl_Position = ftransform();\n}\n";
  const char *fs =
      "#version 120\nuniform float mixing;\nvoid main() {\n  gl_FragColor = vec4(mix(gl_Color.rgb,\n"
      "    vec3(1.0) - gl_Color.rgb, mixing), 1.0);\n}\n";
  GLuint v, f;
  GLint ok;
  v = glCreateShader(GL_VERTEX_SHADER);
  glShaderSource(v, 1, &vs, NULL);
  glCompileShader(v);
  f = glCreateShader(GL_FRAGMENT_SHADER);
  glShaderSource(f, 1, &fs, NULL);
  glCompileShader(f);
  prog = glCreateProgram();
  glAttachShader(prog, v);
  glAttachShader(prog, f);
  glLinkProgram(prog);
  glGetProgramiv(prog, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[1000];
    glGetProgramInfoLog(prog, sizeof log, NULL, log);
    printf("LINK FAILED\n%s\n", log);
    exit(1);
  }
  mixing = glGetUniformLocation(prog, "mixing");
}

static void reshape(int w, int h) {
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
}

static void square(GLfloat x) {
  glBegin(GL_QUADS);
  glColor3f(1.0f, 0.0f, 0.0f);
  glVertex2f(x, -0.75f);
  glColor3f(1.0f, 1.0f, 0.0f);
  glVertex2f(x + 0.875f, -0.75f);
  glColor3f(0.0f, 0.5f, 1.0f);
  glVertex2f(x + 0.875f, 0.75f);
  glColor3f(0.25f, 0.0f, 0.75f);
  glVertex2f(x, 0.75f);
  glEnd();
}

static void display(void) {
  GLfloat p[4];
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glUseProgram(0);
  square(-0.9375f);
  glUseProgram(prog);
  glUniform1f(mixing, 0.75f);
  square(-0.0625f);
  glUseProgram(0);
  glFinish();
  glReadPixels(120, 90, 1, 1, GL_RGBA, GL_FLOAT, p);
  printf("CENTRE%4ld%4ld%4ld%4ld\n", lroundf(255.0f * p[0]), lroundf(255.0f * p[1]), lroundf(255.0f * p[2]),
         lroundf(255.0f * p[3]));
  fflush(stdout);
  glutSwapBuffers();
}

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
  glutInitWindowSize(240, 180);
  glutCreateWindow("Fortran gentle");
  glutDisplayFunc(display);
  glutReshapeFunc(reshape);
  setup();
  glutMainLoop();
  return 0;
}
