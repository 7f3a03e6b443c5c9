#pragma once

#include <string>

namespace quillo {

class Program;

// Plays a demo script on a program that has started up and gone straight to
// drawing: every line is a drag, a click or a key a user could make, done through
// the program's own handlers, so the action log records it as it records a user.
// Returns an empty string, or the fault with its line number ("12: unknown word").
//
// The words, one command a line, '#' starting a comment:
//   tool NAME                  a tool button by its caption (FREE, RADIAL, ... BIOS)
//   wild on|off                the WILD button
//   spec up|down [N]           the specials steppers, N times
//   width N                    the pen width
//   wave frequency|frequency2|phase N   a WAVES slider
//   field C V H                the colour field's corner, vertical and horizontal
//                              colours, each R,G,B
//   layout centre|corner       the colour field's layout (keys ']' and '[')
//   clear                      CLEAR
//   background                 the colour field picture as background (key 'b')
//   key C                      the key of character C, as typed
//   keydown N                  the key of code N pressed (38 Up: zoom in)
//   select                     selection mode (key End); the next drag selects
//   negative                   the selection made negative
//   drag X,Y X,Y ...           press at the first point, move through the rest
//   line X,Y X,Y STEPS         a drag along a straight line in STEPS moves
//   arc X,Y R FROM TO STEPS    a drag along a circle around X,Y, angles in degrees
//   spiral X,Y R0 R1 TURNS STEPS       a drag from radius R0 out to R1
//   lissajous X,Y RX,RY FX FY STEPS    a drag along a Lissajous figure
//   pad N                      N entries that change nothing (the pen width again),
//                              so that a replay's end rule skips only those
std::string RunDemoScript(Program& program, const std::string& script);

}  // namespace quillo
