// The C text family: one entry per line of the generated list fgl_text.inc,
// each a call of a template of text.h.
#include "text.h"

#include "fgl.h"
#include "late.h"

// The commands looked up at run time: through the stand-ins of late.h.
#include "fgl_late.inc"

#define FGL_TEXT(entry, fortran_name, command, result, params, body)          \
  extern "C" FGL_API result entry params {                                    \
    FGL_CHECK_ENTRY(#entry, 0, nullptr);                                      \
    return static_cast<result> body;                                          \
  }                                                                           \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
#include "fgl_text.inc"
#undef FGL_TEXT
