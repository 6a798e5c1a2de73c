// Takes the picture of a program's window for the gallery: starts the
// program, waits for its window, waits until the picture is a drawing that
// has stopped changing, and writes it as a binary PPM file. With --freeze the
// program is started with freeze_first_frame preloaded, so that a program
// that draws frame after frame stops after its first one.
//
// A drawing is taken to be on white. For a program that clears to another
// colour, --background RRGGBB names that colour and --expect RRGGBB a colour
// the drawing itself has: the picture counts once both are present (an
// unpainted window shows black and white, the root window's pattern) and it
// no longer changes.
//
// Usage: gallery_shot [--freeze <library>] [--background RRGGBB --expect RRGGBB]
//                     <out.ppm> <window title> <program> [arguments...]
// under an X server (tests/with-xvfb). Exit status 0 when the picture was written.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "x_session.h"

namespace {

bool writePpm(const std::string &path, const fgltest::Picture &p) {
  FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fprintf(f, "P6\n%d %d\n255\n", p.width, p.height);
  std::vector<unsigned char> row(static_cast<std::size_t>(p.width) * 3);
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const std::uint32_t c = p.at(x, y);
      row[3 * x] = static_cast<unsigned char>(c >> 16);
      row[3 * x + 1] = static_cast<unsigned char>(c >> 8);
      row[3 * x + 2] = static_cast<unsigned char>(c);
    }
    std::fwrite(row.data(), 1, row.size(), f);
  }
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char **argv) {
  const char *usage =
      "usage: gallery_shot [--freeze <library>] [--background RRGGBB --expect RRGGBB] <out.ppm> <window title> "
      "<program> [arguments...]\n";
  int arg = 1;
  std::string freeze;
  std::uint32_t background = 0xFFFFFF;
  long expect = -1;  // no colour required
  for (; arg + 1 < argc && std::strncmp(argv[arg], "--", 2) == 0; arg += 2) {
    const std::string option = argv[arg];
    char *end = nullptr;
    const unsigned long colour = std::strtoul(argv[arg + 1], &end, 16);
    const bool isColour = *end == '\0' && end - argv[arg + 1] == 6;
    if (option == "--freeze") {
      freeze = argv[arg + 1];
    } else if (option == "--background" && isColour) {
      background = static_cast<std::uint32_t>(colour);
    } else if (option == "--expect" && isColour) {
      expect = static_cast<long>(colour);
    } else {
      std::fputs(usage, stderr);
      return 2;
    }
  }
  if (argc - arg < 3) {
    std::fputs(usage, stderr);
    return 2;
  }
  const std::string out = argv[arg];
  const std::string title = argv[arg + 1];
  const std::vector<std::string> command(argv + arg + 2, argv + argc);
  if (!freeze.empty()) {
    // The program inherits it; this process has been loaded already.
    const char *old = std::getenv("LD_PRELOAD");
    std::string preload = freeze + (old && *old ? std::string(":") + old : std::string());
    setenv("LD_PRELOAD", preload.c_str(), 1);
  }

  fgltest::XSession x;
  Window w = x.start(command, title);
  if (!freeze.empty()) unsetenv("LD_PRELOAD");
  if (w == 0) {
    std::fprintf(stderr, "gallery_shot: %s showed no window titled \"%s\"\n", command[0].c_str(), title.c_str());
    x.stop();
    return 1;
  }
  fgltest::Picture picture;
  const auto hasExpected = [expect](const fgltest::Picture &p) {
    return expect < 0 || std::find(p.pixels.begin(), p.pixels.end(), static_cast<std::uint32_t>(expect)) != p.pixels.end();
  };
  const bool settled = x.grabSettled(w, picture, std::chrono::seconds(20), 3, hasExpected, background);
  // A frozen program is stopped: SIGTERM would wait for it to go on.
  if (!freeze.empty()) kill(x.pid(), SIGKILL);
  x.stop();
  if (!settled) {
    std::fprintf(stderr, "gallery_shot: the window of %s did not settle on a drawing\n", command[0].c_str());
    return 1;
  }
  if (!writePpm(out, picture)) {
    std::perror(out.c_str());
    return 1;
  }
  return 0;
}
