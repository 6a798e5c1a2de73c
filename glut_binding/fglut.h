/* fglut.h: GLUT for callers that pass every argument by address.
 *
 * Every entry is fglut followed by the GLUT name without its glut prefix
 * (fglutInitDisplayMode calls glutInitDisplayMode). Text arrives as a packed
 * character array (one character in the low byte of each 4-byte word) followed
 * by the address of its count, or, for the C-suffixed entries, as a CHARACTER
 * argument: its address in the text's place and its length passed by value
 * after all the other arguments, as Fortran compilers pass the hidden length.
 * Every entry with one text argument has both forms. Routines handed over as
 * callbacks take every argument by address; their results are ignored. Each
 * entry also has a Fortran name: lower case with one trailing underscore
 * (fglutinit_).
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
typedef int (*fglut_routine1)(int *a);              /* entry, status, visibility, menu, timer, menu state */
typedef int (*fglut_routine2)(int *a, int *b);      /* motion, passive motion, dials, button box, ... */
typedef int (*fglut_routine3)(int *a, int *b, int *c); /* keyboard (key 0..255, x, y), special, menu status */
typedef int (*fglut_routine4)(int *a, int *b, int *c, int *d); /* mouse, tablet button */
typedef int (*fglut_joystick_routine)(unsigned int *buttons, int *x, int *y, int *z);
typedef int (*fglut_routine5)(int *a, int *b, int *c, int *d, int *e); /* multi-pointer button */
/* A message as packed words (one character per word) and the address of its count. */
typedef int (*fglut_text_routine)(int *words, int *count);
/* The routines of the Ucall registrations: GLUT's values as above, then the
 * address of a copy of the application's word, an INTEGER*8 (_w8) or, for
 * the I4 entries, an INTEGER*4 (_w4). */
typedef int (*fglut_routine0_w8)(long long *word);
typedef int (*fglut_reshape_routine_w8)(int *width, int *height, long long *word);
typedef int (*fglut_routine1_w8)(int *a, long long *word);
typedef int (*fglut_routine2_w8)(int *a, int *b, long long *word);
typedef int (*fglut_routine3_w8)(int *a, int *b, int *c, long long *word);
typedef int (*fglut_routine4_w8)(int *a, int *b, int *c, int *d, long long *word);
typedef int (*fglut_joystick_routine_w8)(unsigned int *buttons, int *x, int *y, int *z, long long *word);
typedef int (*fglut_routine5_w8)(int *a, int *b, int *c, int *d, int *e, long long *word);
typedef int (*fglut_routine0_w4)(int *word);
typedef int (*fglut_reshape_routine_w4)(int *width, int *height, int *word);
typedef int (*fglut_routine1_w4)(int *a, int *word);
typedef int (*fglut_routine2_w4)(int *a, int *b, int *word);
typedef int (*fglut_routine3_w4)(int *a, int *b, int *c, int *word);
typedef int (*fglut_routine4_w4)(int *a, int *b, int *c, int *d, int *word);
typedef int (*fglut_joystick_routine_w4)(unsigned int *buttons, int *x, int *y, int *z, int *word);
typedef int (*fglut_routine5_w4)(int *a, int *b, int *c, int *d, int *e, int *word);

/* Start-up. A negative count or length is taken as 0 (the empty string). */
void fglutInit(void);
/* count arguments packed one after another in words; argument i spans the
 * 1-based word positions starts[i] .. starts[i+1]-1 (starts has count+1
 * entries; positions below 1 are taken as 1, a decreasing pair gives an empty
 * argument). The caller's count is never written. */
void fglutInitArgs(const int *count, const int *words, const int *starts);
/* The same, then writes back what GLUT left (C's glutInit(&argc, argv)):
 * the number of arguments it did not consume into count, those arguments,
 * packed one after another from word 1, into words, and their count+1 start
 * positions into starts. Arguments whose spans overlap may need more words
 * than the caller's array holds: then nothing is written back. */
void fglutInitArgsRest(int *count, int *words, int *starts);
void fglutInitDisplayMode(const unsigned int *mode);
void fglutInitDisplayString(const int *string, const int *count);
void fglutInitDisplayStringC(const char *string, int length);
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
/* Each routine is kept for the window that is current when it is registered
 * (menu: for the new menu; timer: for that timer). A null routine registers
 * a callback that calls nothing. The Null entries register no callback. */
void fglutMouseFunc(fglut_routine4 routine);           /* button, state, x, y */
void fglutMouseFuncNull(void);
void fglutMotionFunc(fglut_routine2 routine);          /* x, y */
void fglutMotionFuncNull(void);
void fglutPassiveMotionFunc(fglut_routine2 routine);   /* x, y */
void fglutPassiveMotionFuncNull(void);
void fglutEntryFunc(fglut_routine1 routine);           /* state */
void fglutEntryFuncNull(void);
void fglutKeyboardFunc(fglut_routine3 routine);        /* key, x, y */
void fglutKeyboardFuncNull(void);
void fglutKeyboardUpFunc(fglut_routine3 routine);      /* key, x, y */
void fglutKeyboardUpFuncNull(void);
/* freeglut delivers visibility through its window-status callback: of the
 * two kinds, the one registered last for a window is the one called. */
void fglutWindowStatusFunc(fglut_routine1 routine);    /* state */
void fglutWindowStatusFuncNull(void);
void fglutVisibilityFunc(fglut_routine1 routine);      /* state */
void fglutVisibilityFuncNull(void);
void fglutSpecialFunc(fglut_routine3 routine);         /* key, x, y */
void fglutSpecialFuncNull(void);
void fglutSpecialUpFunc(fglut_routine3 routine);       /* key, x, y */
void fglutSpecialUpFuncNull(void);
void fglutButtonBoxFunc(fglut_routine2 routine);       /* button, state */
void fglutButtonBoxFuncNull(void);
void fglutDialsFunc(fglut_routine2 routine);           /* dial, value */
void fglutDialsFuncNull(void);
void fglutSpaceballMotionFunc(fglut_routine3 routine); /* x, y, z */
void fglutSpaceballMotionFuncNull(void);
void fglutSpaceballRotateFunc(fglut_routine3 routine); /* x, y, z */
void fglutSpaceballRotateFuncNull(void);
void fglutSpaceballButtonFunc(fglut_routine2 routine); /* button, state */
void fglutSpaceballButtonFuncNull(void);
void fglutTabletMotionFunc(fglut_routine2 routine);    /* x, y */
void fglutTabletMotionFuncNull(void);
void fglutTabletButtonFunc(fglut_routine4 routine);    /* button, state, x, y */
void fglutTabletButtonFuncNull(void);
void fglutJoystickFunc(fglut_joystick_routine routine, const int *pollInterval);
void fglutJoystickFuncNull(const int *pollInterval);
void fglutOverlayDisplayFunc(fglut_routine0 routine);
void fglutOverlayDisplayFuncNull(void);
int fglutCreateMenu(fglut_routine1 routine);           /* value of the chosen entry */
void fglutTimerFunc(const unsigned int *milliseconds, fglut_routine1 routine, const int *value);
void fglutIdleFunc(fglut_routine0 routine);
void fglutIdleFuncNull(void);
void fglutMenuStateFunc(fglut_routine1 routine);       /* status */
void fglutMenuStateFuncNull(void);
void fglutMenuStatusFunc(fglut_routine3 routine);      /* status, x, y */
void fglutMenuStatusFuncNull(void);
/* freeglut's further kinds, per window (menu destruction: per menu). */
void fglutCloseFunc(fglut_routine0 routine);           /* the window is being destroyed */
void fglutCloseFuncNull(void);
void fglutWMCloseFunc(fglut_routine0 routine);         /* the same slot as fglutCloseFunc */
void fglutWMCloseFuncNull(void);
void fglutMenuDestroyFunc(fglut_routine0 routine);     /* the current menu is being destroyed */
void fglutMenuDestroyFuncNull(void);
void fglutMouseWheelFunc(fglut_routine4 routine);      /* wheel, direction (+1 or -1), x, y */
void fglutMouseWheelFuncNull(void);
void fglutPositionFunc(fglut_routine2 routine);        /* x, y of the window */
void fglutPositionFuncNull(void);
void fglutMultiEntryFunc(fglut_routine2 routine);      /* device, state */
void fglutMultiEntryFuncNull(void);
void fglutMultiButtonFunc(fglut_routine5 routine);     /* device, x, y, button, state */
void fglutMultiButtonFuncNull(void);
void fglutMultiMotionFunc(fglut_routine3 routine);     /* device, x, y */
void fglutMultiMotionFuncNull(void);
void fglutMultiPassiveFunc(fglut_routine3 routine);    /* device, x, y */
void fglutMultiPassiveFuncNull(void);
/* freeglut's application-status kind (GLUT_APPSTATUS_PAUSE, ..._RESUME; no
 * such event on X11) and context kind (called once, when GLUT's loop first
 * handles the window, before its first display), per window. */
void fglutAppStatusFunc(fglut_routine1 routine);       /* status */
void fglutAppStatusFuncNull(void);
void fglutInitContextFunc(fglut_routine0 routine);
void fglutInitContextFuncNull(void);
/* The Ucall forms of the per-window kinds: the routine is kept as by the plain
 * entry, together with a copy of the word, which it receives by address after
 * GLUT's values. A null routine registers a callback that calls nothing. */
void fglutDisplayFuncUcall(fglut_routine0_w8 routine, const long long *word);
void fglutDisplayFuncUcallI4(fglut_routine0_w4 routine, const int *word);
void fglutReshapeFuncUcall(fglut_reshape_routine_w8 routine, const long long *word);
void fglutReshapeFuncUcallI4(fglut_reshape_routine_w4 routine, const int *word);
void fglutMouseFuncUcall(fglut_routine4_w8 routine, const long long *word);
void fglutMouseFuncUcallI4(fglut_routine4_w4 routine, const int *word);
void fglutMotionFuncUcall(fglut_routine2_w8 routine, const long long *word);
void fglutMotionFuncUcallI4(fglut_routine2_w4 routine, const int *word);
void fglutPassiveMotionFuncUcall(fglut_routine2_w8 routine, const long long *word);
void fglutPassiveMotionFuncUcallI4(fglut_routine2_w4 routine, const int *word);
void fglutEntryFuncUcall(fglut_routine1_w8 routine, const long long *word);
void fglutEntryFuncUcallI4(fglut_routine1_w4 routine, const int *word);
void fglutKeyboardFuncUcall(fglut_routine3_w8 routine, const long long *word);
void fglutKeyboardFuncUcallI4(fglut_routine3_w4 routine, const int *word);
void fglutKeyboardUpFuncUcall(fglut_routine3_w8 routine, const long long *word);
void fglutKeyboardUpFuncUcallI4(fglut_routine3_w4 routine, const int *word);
void fglutWindowStatusFuncUcall(fglut_routine1_w8 routine, const long long *word);
void fglutWindowStatusFuncUcallI4(fglut_routine1_w4 routine, const int *word);
void fglutVisibilityFuncUcall(fglut_routine1_w8 routine, const long long *word);
void fglutVisibilityFuncUcallI4(fglut_routine1_w4 routine, const int *word);
void fglutSpecialFuncUcall(fglut_routine3_w8 routine, const long long *word);
void fglutSpecialFuncUcallI4(fglut_routine3_w4 routine, const int *word);
void fglutSpecialUpFuncUcall(fglut_routine3_w8 routine, const long long *word);
void fglutSpecialUpFuncUcallI4(fglut_routine3_w4 routine, const int *word);
void fglutButtonBoxFuncUcall(fglut_routine2_w8 routine, const long long *word);
void fglutButtonBoxFuncUcallI4(fglut_routine2_w4 routine, const int *word);
void fglutDialsFuncUcall(fglut_routine2_w8 routine, const long long *word);
void fglutDialsFuncUcallI4(fglut_routine2_w4 routine, const int *word);
void fglutSpaceballMotionFuncUcall(fglut_routine3_w8 routine, const long long *word);
void fglutSpaceballMotionFuncUcallI4(fglut_routine3_w4 routine, const int *word);
void fglutSpaceballRotateFuncUcall(fglut_routine3_w8 routine, const long long *word);
void fglutSpaceballRotateFuncUcallI4(fglut_routine3_w4 routine, const int *word);
void fglutSpaceballButtonFuncUcall(fglut_routine2_w8 routine, const long long *word);
void fglutSpaceballButtonFuncUcallI4(fglut_routine2_w4 routine, const int *word);
void fglutTabletMotionFuncUcall(fglut_routine2_w8 routine, const long long *word);
void fglutTabletMotionFuncUcallI4(fglut_routine2_w4 routine, const int *word);
void fglutTabletButtonFuncUcall(fglut_routine4_w8 routine, const long long *word);
void fglutTabletButtonFuncUcallI4(fglut_routine4_w4 routine, const int *word);
void fglutOverlayDisplayFuncUcall(fglut_routine0_w8 routine, const long long *word);
void fglutOverlayDisplayFuncUcallI4(fglut_routine0_w4 routine, const int *word);
void fglutCloseFuncUcall(fglut_routine0_w8 routine, const long long *word);
void fglutCloseFuncUcallI4(fglut_routine0_w4 routine, const int *word);
void fglutWMCloseFuncUcall(fglut_routine0_w8 routine, const long long *word);
void fglutWMCloseFuncUcallI4(fglut_routine0_w4 routine, const int *word);
void fglutMenuDestroyFuncUcall(fglut_routine0_w8 routine, const long long *word);
void fglutMenuDestroyFuncUcallI4(fglut_routine0_w4 routine, const int *word);
void fglutMouseWheelFuncUcall(fglut_routine4_w8 routine, const long long *word);
void fglutMouseWheelFuncUcallI4(fglut_routine4_w4 routine, const int *word);
void fglutPositionFuncUcall(fglut_routine2_w8 routine, const long long *word);
void fglutPositionFuncUcallI4(fglut_routine2_w4 routine, const int *word);
void fglutMultiEntryFuncUcall(fglut_routine2_w8 routine, const long long *word);
void fglutMultiEntryFuncUcallI4(fglut_routine2_w4 routine, const int *word);
void fglutMultiButtonFuncUcall(fglut_routine5_w8 routine, const long long *word);
void fglutMultiButtonFuncUcallI4(fglut_routine5_w4 routine, const int *word);
void fglutMultiMotionFuncUcall(fglut_routine3_w8 routine, const long long *word);
void fglutMultiMotionFuncUcallI4(fglut_routine3_w4 routine, const int *word);
void fglutMultiPassiveFuncUcall(fglut_routine3_w8 routine, const long long *word);
void fglutMultiPassiveFuncUcallI4(fglut_routine3_w4 routine, const int *word);
void fglutAppStatusFuncUcall(fglut_routine1_w8 routine, const long long *word);
void fglutAppStatusFuncUcallI4(fglut_routine1_w4 routine, const int *word);
void fglutInitContextFuncUcall(fglut_routine0_w8 routine, const long long *word);
void fglutInitContextFuncUcallI4(fglut_routine0_w4 routine, const int *word);
void fglutJoystickFuncUcall(fglut_joystick_routine_w8 routine, const int *pollInterval, const long long *word);
void fglutJoystickFuncUcallI4(fglut_joystick_routine_w4 routine, const int *pollInterval, const int *word);
int fglutCreateMenuUcall(fglut_routine1_w8 routine, const long long *word);   /* value, word */
int fglutCreateMenuUcallI4(fglut_routine1_w4 routine, const int *word);
void fglutTimerFuncUcall(const unsigned int *milliseconds, fglut_routine1_w8 routine, const int *value,
                         const long long *word);                          /* value, word */
void fglutTimerFuncUcallI4(const unsigned int *milliseconds, fglut_routine1_w4 routine, const int *value,
                           const int *word);

/* The loop in the caller's hands. fglutMainLoopEvent handles the pending
 * events, timers and idle work once and returns. With the option
 * GLUT_ACTION_ON_WINDOW_CLOSE set to GLUT_ACTION_GLUTMAINLOOP_RETURNS or
 * GLUT_ACTION_CONTINUE_EXECUTION, fglutMainLoop returns to its caller when the
 * loop is left or the last window is closed; freeglut is then shut down. */
void fglutMainLoopEvent(void);
void fglutLeaveMainLoop(void);
void fglutExit(void);
void fglutSetOption(const int *what, const int *value);

/* Diagnostics. The routine receives freeglut's message text, without its
 * "freeglut (program): " prefix and newline, packed one character per word.
 * After an error routine returns the program ends with status 1; after a
 * warning routine GLUT goes on. The Null entries restore freeglut's own
 * printing to standard error. */
void fglutInitErrorFunc(fglut_text_routine routine);
void fglutInitErrorFuncNull(void);
void fglutInitWarningFunc(fglut_text_routine routine);
void fglutInitWarningFuncNull(void);

/* Windows and sub-windows. */
int fglutCreateSubWindow(const int *window, const int *x, const int *y, const int *width, const int *height);
void fglutDestroyWindow(const int *window);
void fglutSetWindow(const int *window);
int fglutGetWindow(void);
void fglutSetWindowTitle(const int *title, const int *count);
void fglutSetWindowTitleC(const char *title, int length);
void fglutSetIconTitle(const int *title, const int *count);
void fglutSetIconTitleC(const char *title, int length);
void fglutPositionWindow(const int *x, const int *y);
void fglutReshapeWindow(const int *width, const int *height);
void fglutPopWindow(void);
void fglutPushWindow(void);
void fglutShowWindow(void);
void fglutHideWindow(void);
void fglutIconifyWindow(void);
void fglutFullScreen(void);
void fglutPostRedisplay(void);
void fglutPostWindowRedisplay(const int *window);
void fglutSwapBuffers(void);
void fglutSetCursor(const int *cursor);
void fglutWarpPointer(const int *x, const int *y);
void fglutFullScreenToggle(void);
void fglutLeaveFullScreen(void);

/* Words of the program's own, and function addresses.
 * The application's own word for the current window (menu): freeglut's
 * user-data slot of the window (menu), apart from the callbacks' user data.
 * An INTEGER*4 word is stored sign-extended; the I4 reads give the low 32
 * bits. A window or menu starts with 0. With no current menu the menu entries
 * do nothing and read 0. */
void fglutSetWindowData(const long long *word);
void fglutSetWindowDataI4(const int *word);
long long fglutGetWindowData(void);
int fglutGetWindowDataI4(void);
void fglutSetMenuData(const long long *word);
void fglutSetMenuDataI4(const int *word);
long long fglutGetMenuData(void);
int fglutGetMenuDataI4(void);
/* The address of a GLUT or OpenGL function, as an INTEGER*8: GLUT's own, else
 * what GLX answers (Mesa's GLX gives an address for any name). */
long long fglutGetProcAddress(const int *name, const int *count);
long long fglutGetProcAddressC(const char *name, int length);

/* The OpenGL context that windows created from now on ask for. */
void fglutInitContextVersion(const int *major, const int *minor);
void fglutInitContextFlags(const int *flags);     /* GLUT_DEBUG, GLUT_FORWARD_COMPATIBLE */
void fglutInitContextProfile(const int *profile); /* GLUT_CORE_PROFILE, GLUT_COMPATIBILITY_PROFILE */

/* Overlays. */
void fglutEstablishOverlay(void);
void fglutRemoveOverlay(void);
void fglutUseLayer(const int *layer);
void fglutPostOverlayRedisplay(void);
void fglutPostWindowOverlayRedisplay(const int *window);
void fglutShowOverlay(void);
void fglutHideOverlay(void);

/* Menus. */
void fglutDestroyMenu(const int *menu);
int fglutGetMenu(void);
void fglutSetMenu(const int *menu);
void fglutAddMenuEntry(const int *label, const int *count, const int *value);
void fglutAddMenuEntryC(const char *label, const int *value, int length);
void fglutAddSubMenu(const int *label, const int *count, const int *submenu);
void fglutAddSubMenuC(const char *label, const int *submenu, int length);
void fglutChangeToMenuEntry(const int *item, const int *label, const int *count, const int *value);
void fglutChangeToMenuEntryC(const int *item, const char *label, const int *value, int length);
void fglutChangeToSubMenu(const int *item, const int *label, const int *count, const int *submenu);
void fglutChangeToSubMenuC(const int *item, const char *label, const int *submenu, int length);
void fglutRemoveMenuItem(const int *item);
void fglutAttachMenu(const int *button);
void fglutDetachMenu(const int *button);
void fglutSetMenuFont(const int *menu, const int *font); /* a bitmap font code */

/* Colour maps. */
void fglutSetColor(const int *index, const float *red, const float *green, const float *blue);
float fglutGetColor(const int *index, const int *component);
void fglutCopyColormap(const int *window);

/* State queries. */
int fglutGet(const int *state);
int fglutDeviceGet(const int *query);
int fglutGetModifiers(void);
int fglutLayerGet(const int *query);
int fglutExtensionSupported(const int *name, const int *count);
int fglutExtensionSupportedC(const char *name, int length);
void fglutReportErrors(void);
/* The values a display-mode option can take (GLUT_AUX: numbers of auxiliary
 * buffers, GLUT_MULTISAMPLE: sample counts): stores at most *maxCount of
 * them in values and returns how many there are. */
int fglutGetModeValues(const int *mode, int *values, const int *maxCount);

/* Fonts: a font code 1..9 names one of GLUT's nine fonts (1 stroke roman,
 * 2 stroke mono roman, 3 bitmap 9x15, 4 bitmap 8x13, 5 Times Roman 10,
 * 6 Times Roman 24, 7 Helvetica 10, 8 Helvetica 12, 9 Helvetica 18); every
 * other code means stroke roman. */
void fglutBitmapCharacter(const int *font, const int *character);
int fglutBitmapWidth(const int *font, const int *character);
int fglutBitmapLength(const int *font, const int *string, const int *count);
int fglutBitmapLengthC(const int *font, const char *string, int length);
void fglutStrokeCharacter(const int *font, const int *character);
int fglutStrokeWidth(const int *font, const int *character);
int fglutStrokeLength(const int *font, const int *string, const int *count);
int fglutStrokeLengthC(const int *font, const char *string, int length);
/* Whole strings: a zero code ends the text, a newline starts a new line. */
void fglutBitmapString(const int *font, const int *string, const int *count);
void fglutBitmapStringC(const int *font, const char *string, int length);
void fglutStrokeString(const int *font, const int *string, const int *count);
void fglutStrokeStringC(const int *font, const char *string, int length);
int fglutBitmapHeight(const int *font);   /* line height in pixels */
float fglutStrokeHeight(const int *font); /* line height in stroke units */
float fglutStrokeLengthf(const int *font, const int *string, const int *count);
float fglutStrokeLengthfC(const int *font, const char *string, int length);
float fglutStrokeWidthf(const int *font, const int *character);

/* Shapes. */
void fglutSolidSphere(const double *radius, const int *slices, const int *stacks);
void fglutWireSphere(const double *radius, const int *slices, const int *stacks);
void fglutSolidCone(const double *base, const double *height, const int *slices, const int *stacks);
void fglutWireCone(const double *base, const double *height, const int *slices, const int *stacks);
void fglutSolidTorus(const double *innerRadius, const double *outerRadius, const int *sides, const int *rings);
void fglutWireTorus(const double *innerRadius, const double *outerRadius, const int *sides, const int *rings);
void fglutSolidCube(const double *size);
void fglutWireCube(const double *size);
void fglutSolidTeapot(const double *size);
void fglutWireTeapot(const double *size);
void fglutSolidDodecahedron(void);
void fglutWireDodecahedron(void);
void fglutSolidIcosahedron(void);
void fglutWireIcosahedron(void);
void fglutSolidOctahedron(void);
void fglutWireOctahedron(void);
void fglutSolidTetrahedron(void);
void fglutWireTetrahedron(void);
void fglutSolidCylinder(const double *radius, const double *height, const int *slices, const int *stacks);
void fglutWireCylinder(const double *radius, const double *height, const int *slices, const int *stacks);
void fglutSolidRhombicDodecahedron(void);
void fglutWireRhombicDodecahedron(void);
/* offset: three doubles. */
void fglutSolidSierpinskiSponge(const int *levels, const double *offset, const double *scale);
void fglutWireSierpinskiSponge(const int *levels, const double *offset, const double *scale);
void fglutSolidTeacup(const double *size);
void fglutWireTeacup(const double *size);
void fglutSolidTeaspoon(const double *size);
void fglutWireTeaspoon(const double *size);

/* Video resizing. */
int fglutVideoResizeGet(const int *parameter);
void fglutSetupVideoResizing(void);
void fglutStopVideoResizing(void);
void fglutVideoResize(const int *x, const int *y, const int *width, const int *height);
void fglutVideoPan(const int *x, const int *y, const int *width, const int *height);

/* Key repeat and joystick. */
void fglutIgnoreKeyRepeat(const int *ignore);
void fglutSetKeyRepeat(const int *repeatMode);
void fglutForceJoystickFunc(void);

/* Game mode. */
void fglutGameModeString(const int *string, const int *count);
void fglutGameModeStringC(const char *string, int length);
int fglutEnterGameMode(void);
void fglutLeaveGameMode(void);
int fglutGameModeGet(const int *mode);

#ifdef __cplusplus
}
#endif

#endif /* FGLUT_H */
