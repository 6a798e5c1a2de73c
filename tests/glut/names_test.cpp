// Every entry declared in fglut.h is exported with C linkage and under its
// Fortran name (lower case plus one trailing underscore) at the same address.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cctype>
#include <fstream>
#include <set>
#include <string>
#include <utility>

extern "C" int fglutHeaderFromC(void);

namespace {

TEST(Names, HeaderIsUsableFromC) { EXPECT_EQ(fglutHeaderFromC(), 1); }

std::set<std::string> declaredEntries() {
  std::ifstream header(FGLUT_HEADER);
  std::set<std::string> names;
  // A declaration is a line "type fglutName(...);" (typedefs and comments
  // start otherwise).
  for (std::string line; std::getline(header, line);) {
    if (line.empty() || !std::isalpha(static_cast<unsigned char>(line[0])) || line.rfind("typedef", 0) == 0) continue;
    const std::size_t start = line.find("fglut");
    if (start == std::string::npos) continue;
    std::size_t end = start;
    while (end < line.size() && std::isalnum(static_cast<unsigned char>(line[end]))) ++end;
    if (end < line.size() && line[end] == '(') names.insert(line.substr(start, end - start));
  }
  return names;
}

TEST(Names, EveryEntryHasItsFortranAlias) {
  void *library = dlopen(FGLUT_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  const std::set<std::string> names = declaredEntries();
  // 285 entries, plus the two C-only accessors of the argument cells.
  EXPECT_EQ(names.size(), 287u);
  for (const std::string &name : names) {
    SCOPED_TRACE(name);
    void *entry = dlsym(library, name.c_str());
    EXPECT_NE(entry, nullptr);
    if (name == "fglutArgumentCount" || name == "fglutArgumentVector") continue;
    std::string fortran;
    for (char c : name) fortran += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    fortran += '_';
    EXPECT_EQ(dlsym(library, fortran.c_str()), entry) << fortran;
  }
}

// The freeglut function an entry calls: fglutX calls glutX, apart from the
// binding's own suffixes (C: the CHARACTER-text form, I4: INTEGER*4 words).
std::string glutName(const std::string &entry) {
  const std::string name = "glut" + entry.substr(5);
  const std::pair<std::string, std::string> rewrites[] = {
      {"FuncNull", "Func"}, {"C", ""}, {"I4", ""}, {"InitArgs", "Init"}, {"InitArgsRest", "Init"}};
  for (const auto &[suffix, replacement] : rewrites) {
    if (name.ends_with(suffix)) return name.substr(0, name.size() - suffix.size()) + replacement;
  }
  return name;
}

// A misspelt entry name would name no function of the library.
TEST(Names, EveryEntryIsNamedAfterAFreeglutFunction) {
  void *glut = dlopen(GLUT_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(glut, nullptr) << dlerror();
  for (const std::string &name : declaredEntries()) {
    if (name == "fglutArgumentCount" || name == "fglutArgumentVector") continue;
    EXPECT_NE(dlsym(glut, glutName(name).c_str()), nullptr) << name << " -> " << glutName(name);
  }
}

}  // namespace
