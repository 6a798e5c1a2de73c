// The checks of the GLUT entries in the checking build: font codes, packed
// text, window and menu numbers, registrations without a current window.
// Each FGLUT_CHECK_... macro names its argument's position in the entry.
#pragma once

namespace fglut::check {

void font(const char *entry, int position, int code);
void text(const char *entry, int position, const int *words, const int *count);
void count(const char *entry, int position, int n);
void window(const char *entry, int position, int id);
void menu(const char *entry, int position, int id);
void current_window(const char *entry);
void window_made(int id);
void window_gone(int id);
void menu_made(int id);
void menu_gone(int id);

}  // namespace fglut::check

#define FGLUT_CHECK_FONT(position, code) fglut::check::font(__func__, position, *(code))
#define FGLUT_CHECK_TEXT(position, words, count) fglut::check::text(__func__, position, words, count)
#define FGLUT_CHECK_COUNT(position, n) fglut::check::count(__func__, position, *(n))
#define FGLUT_CHECK_WINDOW(position, id) fglut::check::window(__func__, position, *(id))
#define FGLUT_CHECK_MENU(position, id) fglut::check::menu(__func__, position, *(id))
#define FGLUT_CHECK_CURRENT_WINDOW() fglut::check::current_window(__func__)
#define FGLUT_CHECK_MADE(what, id) fglut::check::what##_made(id)
#define FGLUT_CHECK_GONE(what, id) fglut::check::what##_gone(id)
