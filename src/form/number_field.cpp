#include "form/number_field.h"

#include <charconv>

namespace quillo {

std::optional<int32_t> ParseWholeNumber(std::string_view text) {
  int32_t v = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return v;
}

std::optional<int32_t> NumberField::Read(const Form& form, std::string* error) const {
  const Control& c = form[id];
  const std::optional<int32_t> v = ParseWholeNumber(c.caption);
  if (v && *v >= c.min && *v <= c.max) return v;
  const std::string shown = c.caption.empty() ? "nothing" : "\"" + c.caption + "\"";
  *error = std::string(label) + " takes a whole number from " + std::to_string(c.min) + " to " +
           std::to_string(c.max) + ", not " + shown + ".";
  return std::nullopt;
}

}  // namespace quillo
