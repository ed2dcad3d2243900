#pragma once
// Numbers in the setup dialogs' edit fields: shown with printf patterns
// ("%.2f", "%.3f", "%.1f", "%3d"), read back as a wide-string to double
// conversion that takes the leading number. Text without a number, and
// "inf", "nan" or a value beyond the double range, read as no number.

#include <optional>
#include <string>
#include <string_view>

namespace quelor {

// The leading finite number of the text; nothing otherwise.
std::optional<double> entered_number(std::wstring_view text);
// The same, 0 when there is none.
double entered_number_or_zero(std::wstring_view text);

std::wstring format_entry(const char* pattern, double value);   // "%.2f" ...
std::wstring format_entry_int(const char* pattern, int value);  // "%3d"

}  // namespace quelor
