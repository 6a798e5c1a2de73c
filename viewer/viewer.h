// The house viewer's routines and model parameters.
//
// Every routine takes each argument as the address of a variable, never
// writes through it, and returns the integer 0, which no caller reads.
// Lengths are 32-bit floats; a colour is three consecutive 32-bit floats
// (red, green, blue), handed on as the address of the first.
#pragma once

extern "C" {

// Main program, called once by the f2c runtime's main.
int MAIN__(void);

// Window routines, called by GLUT through the binding's trampolines.
int display(void);
int reshape(int *width, int *height);  // window size in pixels (4-byte integers)

// Assembly: roof, box, then openings.
int drawHouse(const float *depth, const float *width, const float *height,
              const float *wallColour, const float *roofColour);

// Walls. Note the order of the face routines: height, width, depth.
int drawBox(const float *depth, const float *width, const float *height, const float *wallColour);
int drawFrontFace(const float *height, const float *width, const float *depth);
int drawSideFace(const float *height, const float *width, const float *depth);
int drawFloorFace(const float *height, const float *width, const float *depth);

// Door and windows on the front (z = +depth/2) and left (x = -width/2) walls.
int drawOpenings(const float *depth, const float *width, const float *height);

// Half-hipped roof with a 30-degree pitch.
int drawRoof(const float *depth, const float *width, const float *height,
             const float *wallColour, const float *roofColour);
int drawRoofPlane(const float *rafter, const float *length, const float *eave, const float *colour);
int drawRoofEnds(const float *rafter, const float *length, const float *ridgeHeight, const float *pitch,
                 const float *wallColour, const float *roofColour);

}  // extern "C"

// The model parameters, fixed at load (main.cpp). Model space: x across the
// width, y up, z across the depth; the box is centred on the origin.
namespace house {
extern float depth;
extern float width;
extern float height;
extern float wallColour[3];
extern float roofColour[3];
}  // namespace house
