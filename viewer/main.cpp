#include "viewer.h"
extern "C" int MAIN__() { return 0; }
