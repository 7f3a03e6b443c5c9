#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "form/controls.h"

namespace quillo {

// A whole decimal number as a number field gives it; nothing when it is none.
std::optional<int32_t> ParseWholeNumber(std::string_view text);

// A number field: an edit given a range with Form::SetRange, which the window's
// validator keeps typing to. Read gives the field's number in its range, or nothing after
// an error message that names the field and says what it takes.
struct NumberField {
  ControlId id;
  const char* label;  // as the message names it, "Spec A"

  std::optional<int32_t> Read(const Form& form, std::string* error) const;
};

}  // namespace quillo
