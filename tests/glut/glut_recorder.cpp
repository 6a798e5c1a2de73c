// The stand-in definitions: each logs its call and returns the fixed result
// of its type.
#include "glut_recorder.h"

#include <GL/freeglut.h>

namespace glut_recorder {
namespace {
std::vector<Call> the_log;
}
const std::vector<Call> &calls() { return the_log; }
void reset() { the_log.clear(); }
void log(const char *function, std::vector<Argument> args) { the_log.push_back(Call{function, std::move(args)}); }
}  // namespace glut_recorder

// R name(params) logging its arguments, visible to libfglut in place of
// freeglut's function of that name.
#define STAND_IN(R, name, params, ...)                                 \
  extern "C" __attribute__((visibility("default"))) R name params {   \
    return glut_recorder::record<R>(#name __VA_OPT__(, ) __VA_ARGS__); \
  }

// Colour maps, state, windows, overlays.
STAND_IN(void, glutSetColor, (int i, GLfloat r, GLfloat g, GLfloat b), i, r, g, b)
STAND_IN(GLfloat, glutGetColor, (int i, int component), i, component)
STAND_IN(void, glutCopyColormap, (int window), window)
STAND_IN(int, glutGetModifiers, (void))
STAND_IN(void, glutReportErrors, (void))
STAND_IN(void, glutSetCursor, (int cursor), cursor)
STAND_IN(void, glutFullScreen, (void))
STAND_IN(void, glutIconifyWindow, (void))
STAND_IN(void, glutPopWindow, (void))
STAND_IN(void, glutPushWindow, (void))
STAND_IN(void, glutUseLayer, (GLenum layer), layer)
STAND_IN(void, glutShowOverlay, (void))
STAND_IN(void, glutHideOverlay, (void))

// Game mode and video resizing.
STAND_IN(int, glutEnterGameMode, (void))
STAND_IN(void, glutLeaveGameMode, (void))
STAND_IN(int, glutGameModeGet, (GLenum query), query)
STAND_IN(int, glutVideoResizeGet, (GLenum query), query)
STAND_IN(void, glutSetupVideoResizing, (void))
STAND_IN(void, glutStopVideoResizing, (void))
STAND_IN(void, glutVideoResize, (int x, int y, int w, int h), x, y, w, h)
STAND_IN(void, glutVideoPan, (int x, int y, int w, int h), x, y, w, h)

// Callback registrations.
STAND_IN(void, glutIdleFunc, (void (*callback)(void)), callback)
STAND_IN(void, glutOverlayDisplayFuncUcall, (void (*callback)(void *), void *data), callback, data)
STAND_IN(void, glutButtonBoxFuncUcall, (void (*callback)(int, int, void *), void *data), callback, data)
STAND_IN(void, glutDialsFuncUcall, (void (*callback)(int, int, void *), void *data), callback, data)
STAND_IN(void, glutSpaceballMotionFuncUcall, (void (*callback)(int, int, int, void *), void *data), callback, data)
STAND_IN(void, glutSpaceballRotateFuncUcall, (void (*callback)(int, int, int, void *), void *data), callback, data)
STAND_IN(void, glutSpaceballButtonFuncUcall, (void (*callback)(int, int, void *), void *data), callback, data)
STAND_IN(void, glutTabletMotionFuncUcall, (void (*callback)(int, int, void *), void *data), callback, data)
STAND_IN(void, glutTabletButtonFuncUcall, (void (*callback)(int, int, int, int, void *), void *data), callback, data)
STAND_IN(void, glutJoystickFuncUcall, (void (*callback)(unsigned int, int, int, int, void *), int poll, void *data),
         callback, poll, data)

// The Ucall registrations of every other kind, menus and timers, and the
// current window and menu (whose slot a Ucall record belongs to).
STAND_IN(void, glutKeyboardFuncUcall, (void (*callback)(unsigned char, int, int, void *), void *data), callback, data)
STAND_IN(void, glutSpecialFuncUcall, (void (*callback)(int, int, int, void *), void *data), callback, data)
STAND_IN(void, glutReshapeFuncUcall, (void (*callback)(int, int, void *), void *data), callback, data)
STAND_IN(void, glutVisibilityFuncUcall, (void (*callback)(int, void *), void *data), callback, data)
STAND_IN(void, glutDisplayFuncUcall, (void (*callback)(void *), void *data), callback, data)
STAND_IN(void, glutMouseFuncUcall, (void (*callback)(int, int, int, int, void *), void *data), callback, data)
STAND_IN(void, glutMotionFuncUcall, (void (*callback)(int, int, void *), void *data), callback, data)
STAND_IN(void, glutPassiveMotionFuncUcall, (void (*callback)(int, int, void *), void *data), callback, data)
STAND_IN(void, glutEntryFuncUcall, (void (*callback)(int, void *), void *data), callback, data)
STAND_IN(void, glutKeyboardUpFuncUcall, (void (*callback)(unsigned char, int, int, void *), void *data), callback, data)
STAND_IN(void, glutSpecialUpFuncUcall, (void (*callback)(int, int, int, void *), void *data), callback, data)
STAND_IN(void, glutWindowStatusFuncUcall, (void (*callback)(int, void *), void *data), callback, data)
STAND_IN(void, glutMouseWheelFuncUcall, (void (*callback)(int, int, int, int, void *), void *data), callback, data)
STAND_IN(void, glutPositionFuncUcall, (void (*callback)(int, int, void *), void *data), callback, data)
STAND_IN(void, glutCloseFuncUcall, (void (*callback)(void *), void *data), callback, data)
STAND_IN(void, glutWMCloseFuncUcall, (void (*callback)(void *), void *data), callback, data)
STAND_IN(void, glutMenuDestroyFuncUcall, (void (*callback)(void *), void *data), callback, data)
STAND_IN(void, glutMultiEntryFuncUcall, (void (*callback)(int, int, void *), void *data), callback, data)
STAND_IN(void, glutMultiButtonFuncUcall, (void (*callback)(int, int, int, int, int, void *), void *data), callback, data)
STAND_IN(void, glutMultiMotionFuncUcall, (void (*callback)(int, int, int, void *), void *data), callback, data)
STAND_IN(void, glutMultiPassiveFuncUcall, (void (*callback)(int, int, int, void *), void *data), callback, data)
STAND_IN(void, glutInitContextFuncUcall, (void (*callback)(void *), void *data), callback, data)
STAND_IN(void, glutAppStatusFuncUcall, (void (*callback)(int, void *), void *data), callback, data)
STAND_IN(int, glutCreateMenuUcall, (void (*callback)(int, void *), void *data), callback, data)
STAND_IN(void, glutTimerFuncUcall, (unsigned int time, void (*callback)(int, void *), int value, void *data), time,
         callback, value, data)
STAND_IN(int, glutGetWindow, (void))
STAND_IN(int, glutGetMenu, (void))
