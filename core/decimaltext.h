#pragma once

#include <optional>
#include <string>
#include <string_view>

// Decimal numbers as the options spell them, read and written without the C library's or the
// stream library's locales: a program may run in a locale whose decimal point is a comma, and
// the browser's module should not carry the stream library for a few numbers.
namespace decimaltext {

// The number a text spells: blanks around it, an optional sign, digits with an optional point
// and an optional exponent; nothing for anything else, or for a number too large for a double.
// Exactly rounded for up to 15 significant digits and exponents within 22.
std::optional<double> read(std::string_view text);

// The shortest of up to nine decimals that reads back as the number: 5, 0.2, -100.
std::string spelled(double value);

} // namespace decimaltext
