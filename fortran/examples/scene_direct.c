/* scene_direct.c: the scene of scene.f written in C, calling OpenGL, GLU
 * and GLUT directly. The same window (title, size, mode), the same objects,
 * values and calls in the same order, and the same picking output: put the
 * two side by side to see how each GLU call looks from Fortran.
 *
 * Build: cc scene_direct.c -lglut -lGLU -lGL
 */
#include <GL/freeglut.h>
#include <GL/glu.h>
#include <stdio.h>
#include <stdlib.h>

static GLUquadric *quad;
static GLUtesselator *tpoly, *tstar;
static GLUnurbs *nurb;

/* Vertices made by the combine routine: six values each, as scene.f's
 * library lends them; reused from the start for every polygon. */
enum { MAX_COMBINED = 64 };
static GLdouble combined[MAX_COMBINED][6];
static int ncombined;

static void APIENTRY vertexColoured(void *data) {
  const GLdouble *v = data;
  glColor3dv(v + 3);
  glVertex3dv(v);
}

static void APIENTRY combine(GLdouble coords[3], void *d[4], GLfloat w[4], void **out) {
  static const GLdouble zeros[6];
  const GLdouble *n[4];
  GLdouble *v;
  int i;
  if (ncombined == MAX_COMBINED) {
    fprintf(stderr, "too many crossings\n");
    exit(1);
  }
  v = combined[ncombined++];
  for (i = 0; i < 4; ++i) n[i] = d[i] != NULL ? d[i] : zeros;
  for (i = 0; i < 3; ++i) v[i] = coords[i];
  for (i = 3; i < 6; ++i) v[i] = w[0] * n[0][i] + w[1] * n[1][i] + w[2] * n[2][i] + w[3] * n[3][i];
  *out = v;
}

static void APIENTRY tessError(GLenum code) {
  printf("TESS ERROR %d\n", (int)code);
  fflush(stdout);
}

static void APIENTRY quadricError(GLenum code) {
  printf("QUADRIC ERROR %d\n", (int)code);
  fflush(stdout);
}

static void APIENTRY nurbsError(GLenum code) {
  printf("NURBS ERROR %d\n", (int)code);
  fflush(stdout);
}

static void setup(void) {
  static GLint tex[64][64][3];
  static GLubyte bytes[64][64][3];
  static const GLfloat spec[4] = {0.5f, 0.5f, 0.5f, 1.0f};
  int i, j, c;
  GLint err;
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
  glEnable(GL_COLOR_MATERIAL);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, spec);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 32.0f);
  glEnable(GL_AUTO_NORMAL);
  glEnable(GL_NORMALIZE);
  for (j = 0; j < 64; ++j) {
    for (i = 0; i < 64; ++i) {
      int yellow = (i / 8 + j / 8) % 2 == 0;
      tex[j][i][0] = yellow ? 250 : 40;
      tex[j][i][1] = yellow ? 210 : 80;
      tex[j][i][2] = yellow ? 60 : 200;
    }
  }
  for (j = 0; j < 64; ++j)
    for (i = 0; i < 64; ++i)
      for (c = 0; c < 3; ++c) bytes[j][i][c] = (GLubyte)tex[j][i][c];
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  err = gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 64, 64, GL_RGB, GL_UNSIGNED_BYTE, bytes);
  if (err != 0) {
    printf("MIPMAP ERROR %s\n", (const char *)gluErrorString((GLenum)err));
    fflush(stdout);
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

  quad = gluNewQuadric();
  tpoly = gluNewTess();
  tstar = gluNewTess();
  nurb = gluNewNurbsRenderer();
  if (quad == NULL || tpoly == NULL || tstar == NULL || nurb == NULL) {
    printf("NO GLU OBJECTS\n");
    exit(1);
  }
  gluQuadricNormals(quad, GLU_SMOOTH);
  gluQuadricDrawStyle(quad, GLU_FILL);
  gluQuadricCallback(quad, GLU_ERROR, (_GLUfuncptr)quadricError);

  gluTessCallback(tpoly, GLU_TESS_BEGIN, (_GLUfuncptr)glBegin);
  gluTessCallback(tpoly, GLU_TESS_VERTEX, (_GLUfuncptr)glVertex3dv);
  gluTessCallback(tpoly, GLU_TESS_END, (_GLUfuncptr)glEnd);
  gluTessCallback(tpoly, GLU_TESS_ERROR, (_GLUfuncptr)tessError);
  gluTessNormal(tpoly, 0.0, 0.0, 1.0);

  gluTessCallback(tstar, GLU_TESS_BEGIN, (_GLUfuncptr)glBegin);
  gluTessCallback(tstar, GLU_TESS_VERTEX, (_GLUfuncptr)vertexColoured);
  gluTessCallback(tstar, GLU_TESS_END, (_GLUfuncptr)glEnd);
  gluTessCallback(tstar, GLU_TESS_COMBINE, (_GLUfuncptr)combine);
  gluTessCallback(tstar, GLU_TESS_ERROR, (_GLUfuncptr)tessError);
  gluTessNormal(tstar, 0.0, 0.0, 1.0);
  gluTessProperty(tstar, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_POSITIVE);

  gluNurbsProperty(nurb, GLU_SAMPLING_METHOD, (GLfloat)GLU_DOMAIN_DISTANCE);
  gluNurbsProperty(nurb, GLU_U_STEP, 24.0f);
  gluNurbsProperty(nurb, GLU_V_STEP, 24.0f);
  gluNurbsProperty(nurb, GLU_DISPLAY_MODE, (GLfloat)GLU_FILL);
  gluNurbsCallback(nurb, GLU_NURBS_ERROR, (_GLUfuncptr)nurbsError);
}

static void reshape(int w, int h) {
  if (w <= 0 || h <= 0) return;
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(40.0, (GLdouble)w / (GLdouble)h, 1.0, 20.0);
  glMatrixMode(GL_MODELVIEW);
}

static void view(void) {
  static const GLfloat lpos[4] = {2.0f, 5.0f, 8.0f, 1.0f};
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(0.0, 1.5, 7.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
  glLightfv(GL_LIGHT0, GL_POSITION, lpos);
}

static void polygon(void) {
  static GLdouble p[9][3] = {{-0.85, -0.7, 0.0},  {0.85, -0.7, 0.0},   {0.85, 0.75, 0.0},
                             {0.0, 0.15, 0.0},    {-0.85, 0.75, 0.0},  {-0.35, -0.5, 0.0},
                             {-0.35, -0.05, 0.0}, {0.35, -0.05, 0.0},  {0.35, -0.5, 0.0}};
  int i;
  gluTessBeginPolygon(tpoly, NULL);
  gluTessBeginContour(tpoly);
  for (i = 0; i < 5; ++i) gluTessVertex(tpoly, p[i], p[i]);
  gluTessEndContour(tpoly);
  gluTessBeginContour(tpoly);
  for (i = 5; i < 9; ++i) gluTessVertex(tpoly, p[i], p[i]);
  gluTessEndContour(tpoly);
  gluTessEndPolygon(tpoly);
}

static void star(void) {
  static GLdouble v[5][6] = {{0.0, 0.85, 0.0, 1.0, 0.0, 0.0},
                             {-0.8084, 0.2627, 0.0, 1.0, 0.85, 0.0},
                             {-0.4996, -0.6877, 0.0, 0.0, 0.7, 0.2},
                             {0.4996, -0.6877, 0.0, 0.0, 0.6, 0.9},
                             {0.8084, 0.2627, 0.0, 0.7, 0.0, 0.8}};
  static const int order[5] = {0, 2, 4, 1, 3};
  int i;
  ncombined = 0;
  gluTessBeginPolygon(tstar, NULL);
  gluTessBeginContour(tstar);
  for (i = 0; i < 5; ++i) gluTessVertex(tstar, v[order[i]], v[order[i]]);
  gluTessEndContour(tstar);
  gluTessEndPolygon(tstar);
}

static void surface(void) {
  static GLfloat knots[8] = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  static const GLfloat coord[4] = {-0.75f, -0.25f, 0.25f, 0.75f};
  /* height[j][i]: scene.f's HEIGHT(I, J) */
  static const GLfloat height[4][4] = {
      {0.0f, 0.25f, 0.0f, 0.0f}, {0.25f, 0.75f, 0.5f, 0.0f}, {0.0f, 0.5f, 0.75f, 0.25f}, {0.0f, 0.0f, 0.25f, -0.25f}};
  static GLfloat edge[5][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}, {0.0f, 0.0f}};
  static GLfloat cknots[8] = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  static GLfloat arch[4][2] = {{0.3125f, 0.4375f}, {0.375f, 0.8125f}, {0.625f, 0.8125f}, {0.6875f, 0.4375f}};
  static GLfloat base[3][2] = {{0.6875f, 0.4375f}, {0.5f, 0.25f}, {0.3125f, 0.4375f}};
  static GLfloat ctl[4][4][3];
  int i, j;
  for (j = 0; j < 4; ++j) {
    for (i = 0; i < 4; ++i) {
      ctl[j][i][0] = coord[j];
      ctl[j][i][1] = coord[i];
      ctl[j][i][2] = height[j][i];
    }
  }
  gluBeginSurface(nurb);
  gluNurbsSurface(nurb, 8, knots, 8, knots, 12, 3, &ctl[0][0][0], 4, 4, GL_MAP2_VERTEX_3);
  gluBeginTrim(nurb);
  gluPwlCurve(nurb, 5, &edge[0][0], 2, GLU_MAP1_TRIM_2);
  gluEndTrim(nurb);
  gluBeginTrim(nurb);
  gluNurbsCurve(nurb, 8, cknots, 2, &arch[0][0], 4, GLU_MAP1_TRIM_2);
  gluPwlCurve(nurb, 3, &base[0][0], 2, GLU_MAP1_TRIM_2);
  gluEndTrim(nurb);
  gluEndSurface(nurb);
}

static void drawScene(void) {
  glLoadName(1);
  glPushMatrix();
  glTranslatef(-1.5f, 1.125f, -2.0f);
  glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
  glColor3f(1.0f, 1.0f, 1.0f);
  glEnable(GL_TEXTURE_2D);
  gluQuadricTexture(quad, GL_TRUE);
  gluSphere(quad, 1.0, 32, 24);
  gluQuadricTexture(quad, GL_FALSE);
  glDisable(GL_TEXTURE_2D);
  glPopMatrix();

  glLoadName(2);
  glPushMatrix();
  glTranslatef(0.0f, 0.375f, 0.0f);
  glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
  glColor3f(0.25f, 0.75f, 0.375f);
  gluCylinder(quad, 0.625, 0.375, 1.5, 32, 8);
  glPopMatrix();

  glLoadName(3);
  glPushMatrix();
  glTranslatef(2.25f, 1.125f, 0.0f);
  glRotatef(-30.0f, 0.0f, 1.0f, 0.0f);
  glColor3f(0.875f, 0.25f, 0.125f);
  gluDisk(quad, 0.3125, 0.875, 32, 4);
  glPopMatrix();

  glNormal3f(0.0f, 0.0f, 1.0f);
  glLoadName(4);
  glPushMatrix();
  glTranslatef(-2.25f, -1.25f, 0.0f);
  glColor3f(0.25f, 0.375f, 0.875f);
  polygon();
  glPopMatrix();
  glLoadName(5);
  glPushMatrix();
  glTranslatef(0.0f, -1.25f, 0.0f);
  star();
  glPopMatrix();

  glLoadName(6);
  glPushMatrix();
  glTranslatef(2.25f, -1.25f, 0.0f);
  glRotatef(-30.0f, 1.0f, 0.0f, 0.0f);
  glColor3f(0.875f, 0.625f, 0.125f);
  surface();
  glPopMatrix();
}

static void display(void) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  view();
  drawScene();
  glFlush();
}

static void pick(int x, int y) {
  static const char *const names[6] = {"SPHERE", "CYLINDER", "DISK", "POLYGON", "STAR", "SURFACE"};
  static GLuint selbuf[256];
  GLint vp[4], hits, i;
  GLuint k = 0, best = 0;
  double zbest = 0.0;
  glSelectBuffer(256, selbuf);
  glGetIntegerv(GL_VIEWPORT, vp);
  glRenderMode(GL_SELECT);
  glInitNames();
  glPushName(0);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPickMatrix((GLdouble)x + 0.5, (GLdouble)(vp[3] - y) - 0.5, 3.0, 3.0, vp);
  gluPerspective(40.0, (GLdouble)vp[2] / (GLdouble)vp[3], 1.0, 20.0);
  view();
  drawScene();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  hits = glRenderMode(GL_RENDER);
  for (i = 0; i < hits && k + 2 < 256; ++i) {
    GLuint nnames = selbuf[k];
    double z = selbuf[k + 1];
    if (nnames >= 1 && k + 2 + nnames < 256) {
      GLuint name = selbuf[k + 2 + nnames];
      if (name >= 1 && name <= 6 && (best == 0 || z < zbest)) {
        best = name;
        zbest = z;
      }
    }
    k += 3 + nnames;
  }
  printf("PICKED %s\n", best == 0 ? "NOTHING" : names[best - 1]);
  fflush(stdout);
}

static void mouse(int button, int state, int x, int y) {
  if (button == GLUT_LEFT_BUTTON && state == GLUT_DOWN) pick(x, y);
}

static void keyboard(unsigned char key, int x, int y) {
  (void)x;
  (void)y;
  if (key == 'q' || key == 'Q' || key == 27) {
    gluDeleteQuadric(quad);
    gluDeleteTess(tpoly);
    gluDeleteTess(tstar);
    gluDeleteNurbsRenderer(nurb);
    exit(0);
  }
}

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_SINGLE | GLUT_DEPTH);
  glutInitWindowSize(480, 360);
  glutCreateWindow("Fortran GLU scene");
  glutDisplayFunc(display);
  glutReshapeFunc(reshape);
  glutMouseFunc(mouse);
  glutKeyboardFunc(keyboard);
  setup();
  glutMainLoop();
  return 0;
}
