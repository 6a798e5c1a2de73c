// Font entries and the font-code map: codes 1..9 name GLUT's nine fonts in a
// fixed order; any other code means stroke roman, the same as code 1.
#include <GL/freeglut.h>

#include "fglut.h"
#include "fglut_conventions.h"

namespace {

void *font(const int *code) {
  switch (*code) {
    case 2: return GLUT_STROKE_MONO_ROMAN;
    case 3: return GLUT_BITMAP_9_BY_15;
    case 4: return GLUT_BITMAP_8_BY_13;
    case 5: return GLUT_BITMAP_TIMES_ROMAN_10;
    case 6: return GLUT_BITMAP_TIMES_ROMAN_24;
    case 7: return GLUT_BITMAP_HELVETICA_10;
    case 8: return GLUT_BITMAP_HELVETICA_12;
    case 9: return GLUT_BITMAP_HELVETICA_18;
    default: return GLUT_STROKE_ROMAN;
  }
}

// glutBitmapLength and glutStrokeLength take unsigned char strings.
const unsigned char *bytes(const char *s) { return reinterpret_cast<const unsigned char *>(s); }

}  // namespace

extern "C" {

FGLUT_API void fglutBitmapCharacter(const int *code, const int *character) {
  FGLUT_CHECK_FONT(1, code);
  glutBitmapCharacter(font(code), *character);
}
FGLUT_FORTRAN_ALIAS(fglutBitmapCharacter, fglutbitmapcharacter_)

FGLUT_API int fglutBitmapWidth(const int *code, const int *character) {
  FGLUT_CHECK_FONT(1, code);
  return glutBitmapWidth(font(code), *character);
}
FGLUT_FORTRAN_ALIAS(fglutBitmapWidth, fglutbitmapwidth_)

FGLUT_API int fglutBitmapLength(const int *code, const int *string, const int *count) {
  FGLUT_CHECK_FONT(1, code);
  FGLUT_CHECK_TEXT(2, string, count);
  return fglut::withPacked(string, count, [code](const char *s) { return glutBitmapLength(font(code), bytes(s)); });
}
FGLUT_FORTRAN_ALIAS(fglutBitmapLength, fglutbitmaplength_)

FGLUT_API void fglutStrokeCharacter(const int *code, const int *character) {
  FGLUT_CHECK_FONT(1, code);
  glutStrokeCharacter(font(code), *character);
}
FGLUT_FORTRAN_ALIAS(fglutStrokeCharacter, fglutstrokecharacter_)

FGLUT_API int fglutStrokeWidth(const int *code, const int *character) {
  FGLUT_CHECK_FONT(1, code);
  return glutStrokeWidth(font(code), *character);
}
FGLUT_FORTRAN_ALIAS(fglutStrokeWidth, fglutstrokewidth_)

FGLUT_API int fglutStrokeLength(const int *code, const int *string, const int *count) {
  FGLUT_CHECK_FONT(1, code);
  FGLUT_CHECK_TEXT(2, string, count);
  return fglut::withPacked(string, count, [code](const char *s) { return glutStrokeLength(font(code), bytes(s)); });
}
FGLUT_FORTRAN_ALIAS(fglutStrokeLength, fglutstrokelength_)

// Whole strings, as freeglut draws them: from the raster position (bitmap) or
// the current transformation (stroke) onwards, a newline going back to the
// start of the next line.
FGLUT_API void fglutBitmapString(const int *code, const int *string, const int *count) {
  FGLUT_CHECK_FONT(1, code);
  FGLUT_CHECK_TEXT(2, string, count);
  fglut::withPacked(string, count, [code](const char *s) { glutBitmapString(font(code), bytes(s)); });
}
FGLUT_FORTRAN_ALIAS(fglutBitmapString, fglutbitmapstring_)

FGLUT_API void fglutStrokeString(const int *code, const int *string, const int *count) {
  FGLUT_CHECK_FONT(1, code);
  FGLUT_CHECK_TEXT(2, string, count);
  fglut::withPacked(string, count, [code](const char *s) { glutStrokeString(font(code), bytes(s)); });
}
FGLUT_FORTRAN_ALIAS(fglutStrokeString, fglutstrokestring_)

FGLUT_API int fglutBitmapHeight(const int *code) {
  FGLUT_CHECK_FONT(1, code);
  return glutBitmapHeight(font(code));
}
FGLUT_FORTRAN_ALIAS(fglutBitmapHeight, fglutbitmapheight_)

FGLUT_API float fglutStrokeHeight(const int *code) {
  FGLUT_CHECK_FONT(1, code);
  return glutStrokeHeight(font(code));
}
FGLUT_FORTRAN_ALIAS(fglutStrokeHeight, fglutstrokeheight_)

FGLUT_API float fglutStrokeLengthf(const int *code, const int *string, const int *count) {
  FGLUT_CHECK_FONT(1, code);
  FGLUT_CHECK_TEXT(2, string, count);
  return fglut::withPacked(string, count, [code](const char *s) { return glutStrokeLengthf(font(code), bytes(s)); });
}
FGLUT_FORTRAN_ALIAS(fglutStrokeLengthf, fglutstrokelengthf_)

FGLUT_API float fglutStrokeWidthf(const int *code, const int *character) {
  FGLUT_CHECK_FONT(1, code);
  return glutStrokeWidthf(font(code), *character);
}
FGLUT_FORTRAN_ALIAS(fglutStrokeWidthf, fglutstrokewidthf_)

// The font of the menu's entries; freeglut accepts only bitmap fonts and
// warns about any other.
FGLUT_API void fglutSetMenuFont(const int *menu, const int *code) {
  FGLUT_CHECK_FONT(2, code);
  FGLUT_CHECK_MENU(1, menu);
  glutSetMenuFont(*menu, font(code));
}
FGLUT_FORTRAN_ALIAS(fglutSetMenuFont, fglutsetmenufont_)

}  // extern "C"
