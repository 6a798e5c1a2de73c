#include "viewer.h"
