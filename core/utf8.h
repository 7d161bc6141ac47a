#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 as RFC 3629 has it: no overlong forms, no surrogates, nothing above U+10FFFF.
namespace utf8 {

struct Decoded
{
    std::u32string text;                  // the characters before the first invalid byte
    std::optional<std::size_t> invalidAt; // the offset of the first byte that is not valid UTF-8
};

Decoded decode(std::string_view bytes);

std::string encode(char32_t codePoint);

} // namespace utf8
