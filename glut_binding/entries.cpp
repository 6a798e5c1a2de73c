// The remaining GLUT entries: windows and sub-windows, context requests,
// overlays, menus, colour maps, state queries, shapes, video resizing, key
// repeat, joystick polling and game mode. Each reads its arguments through
// their addresses and calls the GLUT function of the same name; packed
// strings are converted for the one call.
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "fglut.h"
#include "fglut_conventions.h"

// An entry that reads its arguments and calls glut<Name> once, returning its
// result; the GLUT prototype checks every argument's type.
#define FGLUT_ENTRY(result, Name, lname, params, args)            \
  extern "C" FGLUT_API result fglut##Name params { return glut##Name args; } \
  FGLUT_FORTRAN_ALIAS(fglut##Name, fglut##lname##_)

// No arguments.
#define FGLUT_ENTRY0(result, Name, lname) FGLUT_ENTRY(result, Name, lname, (void), ())
// One integer.
#define FGLUT_ENTRY1(result, Name, lname) FGLUT_ENTRY(result, Name, lname, (const int *a), (*a))
// Two integers.
#define FGLUT_ENTRY2(Name, lname) FGLUT_ENTRY(void, Name, lname, (const int *a, const int *b), (*a, *b))
// Four integers.
#define FGLUT_ENTRY4(Name, lname) \
  FGLUT_ENTRY(void, Name, lname, (const int *a, const int *b, const int *c, const int *d), (*a, *b, *c, *d))

// Windows and sub-windows. A sub-window is created directly: freeglut ends
// the program through exit() itself, so no exit routine is involved.
extern "C" FGLUT_API int fglutCreateSubWindow(const int *window, const int *x, const int *y, const int *width,
                                              const int *height) {
  FGLUT_CHECK_WINDOW(1, window);
  const int id = glutCreateSubWindow(*window, *x, *y, *width, *height);
  FGLUT_CHECK_MADE(window, id);
  return id;
}
FGLUT_FORTRAN_ALIAS(fglutCreateSubWindow, fglutcreatesubwindow_)

// One window or menu number, checked in the checking build.
#define FGLUT_NUMBER_ENTRY(Name, lname, what, gone)      \
  extern "C" FGLUT_API void fglut##Name(const int *a) { \
    FGLUT_CHECK_##what(1, a);                           \
    glut##Name(*a);                                     \
    gone;                                               \
  }                                                     \
  FGLUT_FORTRAN_ALIAS(fglut##Name, fglut##lname##_)
FGLUT_NUMBER_ENTRY(DestroyWindow, destroywindow, WINDOW, FGLUT_CHECK_GONE(window, *a))
FGLUT_NUMBER_ENTRY(SetWindow, setwindow, WINDOW, )
FGLUT_ENTRY0(int, GetWindow, getwindow)
FGLUT_ENTRY2(PositionWindow, positionwindow)
FGLUT_ENTRY2(ReshapeWindow, reshapewindow)
FGLUT_ENTRY0(void, PopWindow, popwindow)
FGLUT_ENTRY0(void, PushWindow, pushwindow)
FGLUT_ENTRY0(void, ShowWindow, showwindow)
FGLUT_ENTRY0(void, HideWindow, hidewindow)
FGLUT_ENTRY0(void, IconifyWindow, iconifywindow)
FGLUT_ENTRY0(void, FullScreen, fullscreen)
FGLUT_ENTRY0(void, PostRedisplay, postredisplay)
FGLUT_NUMBER_ENTRY(PostWindowRedisplay, postwindowredisplay, WINDOW, )
FGLUT_ENTRY0(void, SwapBuffers, swapbuffers)
FGLUT_ENTRY1(void, SetCursor, setcursor)
FGLUT_ENTRY2(WarpPointer, warppointer)
FGLUT_ENTRY0(void, FullScreenToggle, fullscreentoggle)
FGLUT_ENTRY0(void, LeaveFullScreen, leavefullscreen)

// The application's own word per window and per menu lives in freeglut's
// user-data slot of the window or menu, which the layer never uses (its
// callbacks keep their routines in the callbacks' own user data). The word
// travels as the bits of the pointer: an INTEGER*4 sign-extended, read back
// as its low 32 bits.
namespace {
void *asPointer(long long word) { return reinterpret_cast<void *>(static_cast<std::intptr_t>(word)); }
long long asWord(void *pointer) { return static_cast<long long>(reinterpret_cast<std::intptr_t>(pointer)); }
}  // namespace

// freeglut ends the program with an error message when there is no current
// window; with no current menu it would read through a null pointer, so the
// menu entries then do nothing and read 0.
#define FGLUT_DATA_ENTRIES(Kind, kind, present)                                                      \
  extern "C" FGLUT_API void fglutSet##Kind##Data(const long long *word) {                             \
    if (present) glutSet##Kind##Data(asPointer(*word));                                               \
  }                                                                                                   \
  FGLUT_FORTRAN_ALIAS(fglutSet##Kind##Data, fglutset##kind##data_)                                    \
  extern "C" FGLUT_API void fglutSet##Kind##DataI4(const int *word) {                                 \
    if (present) glutSet##Kind##Data(asPointer(*word));                                               \
  }                                                                                                   \
  FGLUT_FORTRAN_ALIAS(fglutSet##Kind##DataI4, fglutset##kind##datai4_)                                \
  extern "C" FGLUT_API long long fglutGet##Kind##Data(void) {                                         \
    return present ? asWord(glutGet##Kind##Data()) : 0;                                               \
  }                                                                                                   \
  FGLUT_FORTRAN_ALIAS(fglutGet##Kind##Data, fglutget##kind##data_)                                    \
  extern "C" FGLUT_API int fglutGet##Kind##DataI4(void) {                                             \
    return present ? static_cast<int>(asWord(glutGet##Kind##Data())) : 0;                             \
  }                                                                                                   \
  FGLUT_FORTRAN_ALIAS(fglutGet##Kind##DataI4, fglutget##kind##datai4_)
FGLUT_DATA_ENTRIES(Window, window, true)
FGLUT_DATA_ENTRIES(Menu, menu, glutGetMenu() != 0)
#undef FGLUT_DATA_ENTRIES

// The address of an OpenGL or GLUT function, for the program to hand on.
FGLUT_TEXT_ENTRY(long long, GetProcAddress, getprocaddress, 1, (), (), (),
                 static_cast<long long>(reinterpret_cast<std::intptr_t>(glutGetProcAddress(s))))

// The context that windows created from now on ask for.
FGLUT_ENTRY2(InitContextVersion, initcontextversion)
FGLUT_ENTRY1(void, InitContextFlags, initcontextflags)
FGLUT_ENTRY1(void, InitContextProfile, initcontextprofile)

FGLUT_TEXT_ENTRY(void, SetWindowTitle, setwindowtitle, 1, (), (), (), glutSetWindowTitle(s))
FGLUT_TEXT_ENTRY(void, SetIconTitle, seticontitle, 1, (), (), (), glutSetIconTitle(s))

// Overlays (freeglut has none on X11: these entries call its no-op forms).
FGLUT_ENTRY0(void, EstablishOverlay, establishoverlay)
FGLUT_ENTRY0(void, RemoveOverlay, removeoverlay)
FGLUT_ENTRY1(void, UseLayer, uselayer)
FGLUT_ENTRY0(void, PostOverlayRedisplay, postoverlayredisplay)
FGLUT_NUMBER_ENTRY(PostWindowOverlayRedisplay, postwindowoverlayredisplay, WINDOW, )
FGLUT_ENTRY0(void, ShowOverlay, showoverlay)
FGLUT_ENTRY0(void, HideOverlay, hideoverlay)

// Menus (creation is with the callback registrations).
FGLUT_NUMBER_ENTRY(DestroyMenu, destroymenu, MENU, FGLUT_CHECK_GONE(menu, *a))
FGLUT_ENTRY0(int, GetMenu, getmenu)
FGLUT_NUMBER_ENTRY(SetMenu, setmenu, MENU, )
FGLUT_ENTRY1(void, RemoveMenuItem, removemenuitem)
FGLUT_ENTRY1(void, AttachMenu, attachmenu)
FGLUT_ENTRY1(void, DetachMenu, detachmenu)

FGLUT_TEXT_ENTRY(void, AddMenuEntry, addmenuentry, 1, (), (, const int *value), (), glutAddMenuEntry(s, *value))
FGLUT_TEXT_ENTRY(void, AddSubMenu, addsubmenu, 1, (), (, const int *submenu), (FGLUT_CHECK_MENU(3, submenu)),
                 glutAddSubMenu(s, *submenu))
FGLUT_TEXT_ENTRY(void, ChangeToMenuEntry, changetomenuentry, 2, (const int *item,), (, const int *value), (),
                 glutChangeToMenuEntry(*item, s, *value))
FGLUT_TEXT_ENTRY(void, ChangeToSubMenu, changetosubmenu, 2, (const int *item,), (, const int *submenu),
                 (FGLUT_CHECK_MENU(4, submenu)), glutChangeToSubMenu(*item, s, *submenu))

// Colour maps.
FGLUT_ENTRY(void, SetColor, setcolor, (const int *index, const float *red, const float *green, const float *blue),
            (*index, *red, *green, *blue))
FGLUT_ENTRY(float, GetColor, getcolor, (const int *index, const int *component), (*index, *component))
FGLUT_ENTRY1(void, CopyColormap, copycolormap)

// State queries.
FGLUT_ENTRY1(int, Get, get)
FGLUT_ENTRY1(int, DeviceGet, deviceget)
FGLUT_ENTRY0(int, GetModifiers, getmodifiers)
FGLUT_ENTRY1(int, LayerGet, layerget)
FGLUT_ENTRY0(void, ReportErrors, reporterrors)

extern "C" {

// freeglut returns a heap array of the values and their number; the caller
// gets at most *maxCount of them and the number.
FGLUT_API int fglutGetModeValues(const int *mode, int *values, const int *maxCount) {
  FGLUT_CHECK_COUNT(3, maxCount);
  int size = 0;
  int *all = glutGetModeValues(static_cast<GLenum>(*mode), &size);
  if (all == nullptr) return 0;
  const int stored = std::min(size, *maxCount);
  for (int k = 0; k < stored; ++k) values[k] = all[k];
  std::free(all);
  return size;
}
FGLUT_FORTRAN_ALIAS(fglutGetModeValues, fglutgetmodevalues_)

}  // extern "C"

// freeglut's search never ends for an empty name (it steps past each match
// by the name's length, 0); no extension has an empty name.
FGLUT_TEXT_ENTRY(int, ExtensionSupported, extensionsupported, 1, (), (), (), *s == '\0' ? 0 : glutExtensionSupported(s))

// Shapes.
FGLUT_ENTRY(void, SolidSphere, solidsphere, (const double *radius, const int *slices, const int *stacks),
            (*radius, *slices, *stacks))
FGLUT_ENTRY(void, WireSphere, wiresphere, (const double *radius, const int *slices, const int *stacks),
            (*radius, *slices, *stacks))
FGLUT_ENTRY(void, SolidCone, solidcone, (const double *base, const double *height, const int *slices, const int *stacks),
            (*base, *height, *slices, *stacks))
FGLUT_ENTRY(void, WireCone, wirecone, (const double *base, const double *height, const int *slices, const int *stacks),
            (*base, *height, *slices, *stacks))
FGLUT_ENTRY(void, SolidTorus, solidtorus,
            (const double *innerRadius, const double *outerRadius, const int *sides, const int *rings),
            (*innerRadius, *outerRadius, *sides, *rings))
FGLUT_ENTRY(void, WireTorus, wiretorus,
            (const double *innerRadius, const double *outerRadius, const int *sides, const int *rings),
            (*innerRadius, *outerRadius, *sides, *rings))
FGLUT_ENTRY(void, SolidCube, solidcube, (const double *size), (*size))
FGLUT_ENTRY(void, WireCube, wirecube, (const double *size), (*size))
FGLUT_ENTRY(void, SolidTeapot, solidteapot, (const double *size), (*size))
FGLUT_ENTRY(void, WireTeapot, wireteapot, (const double *size), (*size))
FGLUT_ENTRY0(void, SolidDodecahedron, soliddodecahedron)
FGLUT_ENTRY0(void, WireDodecahedron, wiredodecahedron)
FGLUT_ENTRY0(void, SolidIcosahedron, solidicosahedron)
FGLUT_ENTRY0(void, WireIcosahedron, wireicosahedron)
FGLUT_ENTRY0(void, SolidOctahedron, solidoctahedron)
FGLUT_ENTRY0(void, WireOctahedron, wireoctahedron)
FGLUT_ENTRY0(void, SolidTetrahedron, solidtetrahedron)
FGLUT_ENTRY0(void, WireTetrahedron, wiretetrahedron)
FGLUT_ENTRY(void, SolidCylinder, solidcylinder, (const double *radius, const double *height, const int *slices, const int *stacks),
            (*radius, *height, *slices, *stacks))
FGLUT_ENTRY(void, WireCylinder, wirecylinder, (const double *radius, const double *height, const int *slices, const int *stacks),
            (*radius, *height, *slices, *stacks))
FGLUT_ENTRY0(void, SolidRhombicDodecahedron, solidrhombicdodecahedron)
FGLUT_ENTRY0(void, WireRhombicDodecahedron, wirerhombicdodecahedron)
FGLUT_ENTRY(void, SolidTeacup, solidteacup, (const double *size), (*size))
FGLUT_ENTRY(void, WireTeacup, wireteacup, (const double *size), (*size))
FGLUT_ENTRY(void, SolidTeaspoon, solidteaspoon, (const double *size), (*size))
FGLUT_ENTRY(void, WireTeaspoon, wireteaspoon, (const double *size), (*size))

extern "C" {

// The sponge's offset is three doubles that freeglut takes by a non-const
// pointer; it gets a copy.
FGLUT_API void fglutSolidSierpinskiSponge(const int *levels, const double *offset, const double *scale) {
  double copy[3] = {offset[0], offset[1], offset[2]};
  glutSolidSierpinskiSponge(*levels, copy, *scale);
}
FGLUT_FORTRAN_ALIAS(fglutSolidSierpinskiSponge, fglutsolidsierpinskisponge_)

FGLUT_API void fglutWireSierpinskiSponge(const int *levels, const double *offset, const double *scale) {
  double copy[3] = {offset[0], offset[1], offset[2]};
  glutWireSierpinskiSponge(*levels, copy, *scale);
}
FGLUT_FORTRAN_ALIAS(fglutWireSierpinskiSponge, fglutwiresierpinskisponge_)

}  // extern "C"

// Video resizing (freeglut's X11 forms do nothing; the query answers 0).
FGLUT_ENTRY1(int, VideoResizeGet, videoresizeget)
FGLUT_ENTRY0(void, SetupVideoResizing, setupvideoresizing)
FGLUT_ENTRY0(void, StopVideoResizing, stopvideoresizing)
FGLUT_ENTRY4(VideoResize, videoresize)
FGLUT_ENTRY4(VideoPan, videopan)

// Key repeat and joystick polling.
FGLUT_ENTRY1(void, IgnoreKeyRepeat, ignorekeyrepeat)
FGLUT_ENTRY1(void, SetKeyRepeat, setkeyrepeat)
FGLUT_ENTRY0(void, ForceJoystickFunc, forcejoystickfunc)

// Game mode.
FGLUT_ENTRY0(int, EnterGameMode, entergamemode)
FGLUT_ENTRY0(void, LeaveGameMode, leavegamemode)
FGLUT_ENTRY1(int, GameModeGet, gamemodeget)
FGLUT_TEXT_ENTRY(void, GameModeString, gamemodestring, 1, (), (), (), glutGameModeString(s))
