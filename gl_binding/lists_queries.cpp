// Display lists called by names in integer or packed storage; the error and
// string queries.
#include "fgl.h"
#include "fgl_conventions.h"
