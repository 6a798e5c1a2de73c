// The ending of a program on the f2c, gfortran or Flang runtime by SIGINT
// or SIGTERM (see ending.cpp), and the sections that tell it where the
// program's own code runs.
#pragma once

namespace fglut {

// Takes over SIGINT and SIGTERM, once, from the thread that initialises
// GLUT: from the f2c runtime's handlers, or from the default action under
// gfortran's or Flang's runtime. Does nothing in a program without one of
// them; an ignored signal stays ignored.
void installEnding();

// While one of these exists on the GLUT thread, the program's own code may
// run (a trampoline is calling one of its routines); an ending waits until
// none exists and keeps a new one from starting. Sections nest.
class FortranSection {
 public:
  FortranSection();
  ~FortranSection();
  FortranSection(const FortranSection &) = delete;
  FortranSection &operator=(const FortranSection &) = delete;
};

// The opposite, for the layer's calls that wait in GLUT's loop on behalf of
// the program (the main loop and its single-pass form): no code of the
// program runs here except through trampolines, so an ending may proceed.
class OutsideFortran {
 public:
  OutsideFortran();
  ~OutsideFortran();
  OutsideFortran(const OutsideFortran &) = delete;
  OutsideFortran &operator=(const OutsideFortran &) = delete;

 private:
  int saved_;
};

// Calls an application routine inside a FortranSection.
template <typename Routine, typename... Args>
void callRoutine(Routine routine, Args... args) {
  const FortranSection section;
  routine(args...);
}

}  // namespace fglut
