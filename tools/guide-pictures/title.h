#pragma once

#include "platform/raster/surface.h"

namespace quillo {

// The start screen's 496 x 304 title picture: the word Quillo painted with
// FINGERPAINT in the colour field over rings of ORBIT figures, all drawn by the
// program itself through its mouse handlers.
bool DrawTitle(Surface& out);

}  // namespace quillo
