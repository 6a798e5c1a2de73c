/* Preloaded into a program that draws frame after frame: after its first
 * buffer swap has reached the X server, the program stops itself (SIGSTOP),
 * so that its window keeps showing that first frame for as long as anyone
 * wants to look at it. The picture is then the same on every run, however
 * busy the machine, where a program left running would show whichever frame
 * it had reached. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <signal.h>

__attribute__((visibility("default"))) void glXSwapBuffers(Display *display, GLXDrawable drawable) {
  static void (*real)(Display *, GLXDrawable);
  if (!real) real = (void (*)(Display *, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
  real(display, drawable);
  XSync(display, False);
  raise(SIGSTOP);
}
