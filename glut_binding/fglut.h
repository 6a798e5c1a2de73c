/* fglut.h: GLUT for callers that pass every argument by address.
 *
 * Every entry is fglut followed by the GLUT name without its glut prefix
 * (fglutInitDisplayMode calls glutInitDisplayMode). Text arrives as a packed
 * character array (one character in the low byte of each 4-byte word) followed
 * by the address of its count, or, for the C-suffixed entries, as an address
 * and a length passed by value. Routines handed over as callbacks take every
 * argument by address; their results are ignored. Each entry also has a
 * Fortran name: lower case with one trailing underscore (fglutinit_).
 *
 * Usable from C and C++. */
#ifndef FGLUT_H
#define FGLUT_H

#ifdef __cplusplus
extern "C" {
#endif

/* Application routines, as the trampolines call them. */
typedef int (*fglut_routine0)(void);                /* display, overlay display, idle */
typedef int (*fglut_reshape_routine)(int *width, int *height);

/* Start-up. */
void fglutInit(void);
void fglutInitDisplayMode(const unsigned int *mode);
int fglutCreateWindowC(const char *title, int length);
void fglutMainLoop(void);

/* Callback registrations. */
void fglutDisplayFunc(fglut_routine0 routine);
void fglutReshapeFunc(fglut_reshape_routine routine);
void fglutReshapeFuncNull(void);

#ifdef __cplusplus
}
#endif

#endif /* FGLUT_H */
