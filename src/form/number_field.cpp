#include "form/number_field.h"

#include <charconv>

#include "form/catalogue.h"

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
  const std::string shown = c.caption.empty() ? form.Translate("nothing") : "\"" + c.caption + "\"";
  *error = Arg(form.Translate("%1 takes a whole number from %2 to %3, not %4."),
               {form.Translate(label), std::to_string(c.min), std::to_string(c.max), shown});
  return std::nullopt;
}

}  // namespace quillo
