#pragma once
// Small text helpers of the decoders: atof on a slice of a record and the
// comma-separated field of a line (the head counts as field 1).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quelor {

// atof of bytes [first, first + count) of `record`; bytes beyond the record
// are absent. Text that is no number reads as 0.
double record_atof(std::span<const std::uint8_t> record, std::size_t first, std::size_t count);

// atof of a piece of text (stops at the first character that is no number).
double text_atof(std::string_view text);

// Field n (n >= 1) of `text`: field 1 runs up to the first separator; field n
// runs from separator n-1 to separator n, or to the end when separator n is
// missing. nullopt with fewer than n-1 separators.
std::optional<std::string_view> text_field(std::string_view text, int n, char separator = ',');

// A number and nothing else: optional sign, digits with an optional decimal
// point, optional exponent; a trailing "*hh" checksum is ignored. A number
// too large for a double ("1e999") is no number.
std::optional<double> numeric_field(std::string_view field);

// Big-endian 16-bit words of a record (0 for bytes beyond it).
std::uint16_t be_u16(std::span<const std::uint8_t> record, std::size_t first);
std::int16_t be_s16(std::span<const std::uint8_t> record, std::size_t first);

}  // namespace quelor
