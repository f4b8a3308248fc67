#include "app/shell/number_field.h"

#include "base/numbers.h"

namespace orvane {

std::int32_t numberFieldValue(std::string_view text) { return scanInt(text).value_or(0); }

std::string numberFieldText(std::int32_t value) { return formatInt(value); }

}  // namespace orvane
