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

/* Start-up. A negative count or length is taken as 0 (the empty string). */
void fglutInit(void);
/* count arguments packed one after another in words; argument i spans the
 * 1-based word positions starts[i] .. starts[i+1]-1 (starts has count+1
 * entries; positions below 1 are taken as 1, a decreasing pair gives an empty
 * argument). The caller's count is never written. */
void fglutInitArgs(const int *count, const int *words, const int *starts);
void fglutInitDisplayMode(const unsigned int *mode);
void fglutInitDisplayString(const int *string, const int *count);
void fglutInitWindowPosition(const int *x, const int *y);
void fglutInitWindowSize(const int *width, const int *height);
int fglutCreateWindow(const int *title, const int *count);
int fglutCreateWindowC(const char *title, int length);
void fglutMainLoop(void);
/* The layer's own argument count and vector as GLUT left them after
 * initialisation (GLUT removes the options it consumes). */
int fglutArgumentCount(void);
char **fglutArgumentVector(void);

/* Callback registrations. */
void fglutDisplayFunc(fglut_routine0 routine);
void fglutReshapeFunc(fglut_reshape_routine routine);
void fglutReshapeFuncNull(void);

#ifdef __cplusplus
}
#endif

#endif /* FGLUT_H */
