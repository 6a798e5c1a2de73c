// Pixel, bitmap, stipple, pixel-map and image entries for data held in
// 4-byte, 2-byte or packed character storage.
#include "fgl.h"
#include "fgl_conventions.h"
