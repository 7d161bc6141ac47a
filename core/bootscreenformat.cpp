#include "bootscreenformat.h"

#include <limits>

namespace bootscreen {

namespace {

// The white space of the C locale; QChar's notion of it is wider.
bool isCWhiteSpace(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
           byte == '\r';
}

bool isDecimalDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

} // namespace

std::optional<std::int32_t> parseLineContent(std::string_view content)
{
    const size_t size = content.size();
    size_t at = 0;
    while (at < size && isCWhiteSpace(content[at]))
        ++at;

    bool negative = false;
    if (at < size && (content[at] == '+' || content[at] == '-')) {
        negative = content[at] == '-';
        ++at;
    }
    if (at == size)
        return std::nullopt; // no digits at all

    // The magnitude is kept one past the largest int32 so that the most negative value fits.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; at < size; ++at) {
        const char byte = content[at];
        if (!isDecimalDigit(byte))
            return std::nullopt;
        magnitude = magnitude * 10 + (byte - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace bootscreen
