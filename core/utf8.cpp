#include "utf8.h"

namespace utf8 {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the sequence a lead byte starts and the bits it carries; 0 for a byte that
// starts none (a continuation byte, or 0xF8 and above).
int sequenceLength(unsigned char lead, char32_t *bits)
{
    if (lead < 0x80) {
        *bits = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        *bits = lead & 0x1F;
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        *bits = lead & 0x0F;
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        *bits = lead & 0x07;
        return 4;
    }
    return 0;
}

// The smallest code point each length may encode: anything below is an overlong form.
constexpr char32_t smallestOfLength[] = {0, 0, 0x80, 0x800, 0x10000};

} // namespace

Decoded decode(std::string_view bytes)
{
    Decoded result;
    std::size_t at = 0;
    while (at < bytes.size()) {
        char32_t codePoint = 0;
        const int length = sequenceLength(static_cast<unsigned char>(bytes[at]), &codePoint);
        bool valid = length > 0 && at + static_cast<std::size_t>(length) <= bytes.size();
        for (int i = 1; valid && i < length; ++i) {
            const auto byte = static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
            valid = isContinuation(byte);
            codePoint = (codePoint << 6) | (byte & 0x3F);
        }
        if (valid)
            valid = codePoint >= smallestOfLength[length] && codePoint <= 0x10FFFF &&
                    !(codePoint >= 0xD800 && codePoint <= 0xDFFF);
        if (!valid) {
            result.invalidAt = at;
            return result;
        }
        result.text += codePoint;
        at += static_cast<std::size_t>(length);
    }
    return result;
}

std::string encode(char32_t codePoint)
{
    std::string bytes;
    const auto add = [&bytes](char32_t value) { bytes += static_cast<char>(value); };
    if (codePoint < 0x80) {
        add(codePoint);
    } else if (codePoint < 0x800) {
        add(0xC0 | (codePoint >> 6));
        add(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        add(0xE0 | (codePoint >> 12));
        add(0x80 | ((codePoint >> 6) & 0x3F));
        add(0x80 | (codePoint & 0x3F));
    } else {
        add(0xF0 | (codePoint >> 18));
        add(0x80 | ((codePoint >> 12) & 0x3F));
        add(0x80 | ((codePoint >> 6) & 0x3F));
        add(0x80 | (codePoint & 0x3F));
    }
    return bytes;
}

} // namespace utf8
