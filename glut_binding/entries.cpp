#include "fglut.h"
