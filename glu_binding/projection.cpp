// Matrices and projection: gluOrtho2D, gluPerspective, gluLookAt,
// gluPickMatrix, gluProject, gluUnProject, gluUnProject4, each forwarded with
// its arguments read by address (the list is generated from <GL/glu.h>).
#include "fglu.h"
#include "glu_conventions.h"

#define FGLU_PROJECTION FGLU_DEFINE_FORWARD
#include "forward_list.h"
