#pragma once

#include <cstdint>

#include "form/controls.h"

class QKeyEvent;

namespace quillo {

// The Windows virtual-key code of a Qt key event (keypad keys by their pad codes,
// shifted symbols by their unshifted US key); 0 for keys the program has no code for.
int32_t VirtualKeyOf(const QKeyEvent& event);

// The modifier keys held during a key event.
Modifiers KeyModifiersOf(const QKeyEvent& event);

}  // namespace quillo
