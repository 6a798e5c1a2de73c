// The house of the viewer drawn with direct OpenGL calls: the same commands
// with the same values in the same order as the viewer's display routine
// (viewer/display.cpp, walls.cpp, openings.cpp, roof.cpp), for the model
// parameters the viewer is built with. The frame benchmark times both.
#pragma once

namespace reference {
void display(float depth, float width, float height, const float wallColour[3], const float roofColour[3]);
}
