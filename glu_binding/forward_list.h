// Includes the generated entry list once, defining the entries of the
// concerns whose macro the including file has defined (FGLU_PROJECTION,
// FGLU_IMAGE, FGLU_QUADRIC, FGLU_TESS, FGLU_NURBS) and skipping the rest.
// No include guard: meant to be included once per file.
#ifndef FGLU_PROJECTION
#define FGLU_PROJECTION(...)
#endif
#ifndef FGLU_IMAGE
#define FGLU_IMAGE(...)
#endif
#ifndef FGLU_QUADRIC
#define FGLU_QUADRIC(...)
#endif
#ifndef FGLU_TESS
#define FGLU_TESS(...)
#endif
#ifndef FGLU_NURBS
#define FGLU_NURBS(...)
#endif
#include "fglu_forward.inc"
#undef FGLU_PROJECTION
#undef FGLU_IMAGE
#undef FGLU_QUADRIC
#undef FGLU_TESS
#undef FGLU_NURBS
