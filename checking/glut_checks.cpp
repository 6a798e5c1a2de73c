// The checks of the GLUT entries.
#include "glut_checks.h"

#include <GL/freeglut.h>

#include <mutex>
#include <set>
#include <string>

#include "report.h"

namespace fglut::check {
namespace {

// The windows and menus made through the entries and not destroyed through
// them.
struct Known {
  std::mutex lock;
  std::set<int> windows, menus;
};
Known &known() {
  static Known *k = new Known;  // never destroyed: entries may run during exit
  return *k;
}

bool has(std::set<int> &numbers, int id) {
  std::lock_guard<std::mutex> guard(known().lock);
  return numbers.count(id) != 0;
}

}  // namespace

void font(const char *entry, int position, int code) {
  if (code < 1 || code > 9)
    fgl::check::problem(entry, position, "FONT", "font code outside 1 to 9 (taken as GLUT_STROKE_ROMAN)",
                        fgl::check::show_int(code));
}

void count(const char *entry, int position, int n) {
  if (n < 0) fgl::check::problem(entry, position, "N", "negative count", fgl::check::show_int(n));
}

void text(const char *entry, int position, const int *words, const int *n) {
  count(entry, position + 1, *n);
  for (int i = 0; i < *n; ++i) {
    if (words[i] < 0 || words[i] > 255) {
      const std::string where = "WORDS(" + std::to_string(i + 1) + ")";
      fgl::check::problem(entry, position, where.c_str(), "packed word outside 0 to 255 (a CHARACTER passed?)",
                          fgl::check::show_int(words[i]));
      return;
    }
  }
}

void window(const char *entry, int position, int id) {
  if (!has(known().windows, id))
    fgl::check::problem(entry, position, "WINDOW", "no window has this number", fgl::check::show_int(id));
}

void menu(const char *entry, int position, int id) {
  if (!has(known().menus, id))
    fgl::check::problem(entry, position, "MENU", "no menu has this number", fgl::check::show_int(id));
}

void current_window(const char *entry) {
  if (glutGet(GLUT_INIT_STATE) == 0 || glutGetWindow() == 0)
    fgl::check::problem(entry, 0, "", "registration with no current window", "");
}

void window_made(int id) {
  std::lock_guard<std::mutex> guard(known().lock);
  if (id > 0) known().windows.insert(id);
}
void window_gone(int id) {
  std::lock_guard<std::mutex> guard(known().lock);
  known().windows.erase(id);
}
void menu_made(int id) {
  std::lock_guard<std::mutex> guard(known().lock);
  if (id > 0) known().menus.insert(id);
}
void menu_gone(int id) {
  std::lock_guard<std::mutex> guard(known().lock);
  known().menus.erase(id);
}

}  // namespace fglut::check
