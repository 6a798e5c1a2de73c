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

FGLUT_TEXT_ENTRY(int, BitmapLength, bitmaplength, 2, (const int *code,), (), (FGLUT_CHECK_FONT(1, code)), glutBitmapLength(font(code), bytes(s)))

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

FGLUT_TEXT_ENTRY(int, StrokeLength, strokelength, 2, (const int *code,), (), (FGLUT_CHECK_FONT(1, code)), glutStrokeLength(font(code), bytes(s)))

// Whole strings, as freeglut draws them: from the raster position (bitmap) or
// the current transformation (stroke) onwards, a newline going back to the
// start of the next line.
FGLUT_TEXT_ENTRY(void, BitmapString, bitmapstring, 2, (const int *code,), (), (FGLUT_CHECK_FONT(1, code)), glutBitmapString(font(code), bytes(s)))
FGLUT_TEXT_ENTRY(void, StrokeString, strokestring, 2, (const int *code,), (), (FGLUT_CHECK_FONT(1, code)), glutStrokeString(font(code), bytes(s)))

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

FGLUT_TEXT_ENTRY(float, StrokeLengthf, strokelengthf, 2, (const int *code,), (), (FGLUT_CHECK_FONT(1, code)),
                 glutStrokeLengthf(font(code), bytes(s)))

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
