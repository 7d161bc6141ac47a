#include "screenlink.h"

#include <array>
#include <cstdint>

namespace screenlink {

namespace {

// RFC 4648's URL and file name safe alphabet: no character a URL would have to escape.
constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
static_assert(sizeof Alphabet - 1 == 64, "six bits a character");

constexpr int NotInAlphabet = -1;

int valueOf(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '-')
        return 62;
    if (c == '_')
        return 63;
    return NotInAlphabet;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSchemeCharacter(char c)
{
    return isLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '.' || c == '-';
}

using Bytes = std::array<std::uint8_t, bootscreen::EntryCount>;

std::string encoded(const Bytes &bytes)
{
    std::string text;
    text.reserve(EncodedLength);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = bytes.size() - i < 3 ? bytes.size() - i : 3;
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 3; ++j)
            group = group << 8 | (j < count ? bytes[i + j] : 0u);
        // n bytes fill n + 1 characters.
        for (std::size_t j = 0; j <= count; ++j)
            text += Alphabet[(group >> (18 - 6 * j)) & 63u];
    }
    return text;
}

// Nothing unless `text` is exactly the characters that encoded() makes of some bytes.
std::optional<Bytes> decoded(std::string_view text)
{
    if (text.size() != EncodedLength)
        return std::nullopt;
    Bytes bytes{};
    std::uint32_t bits = 0;
    int held = 0;
    std::size_t next = 0;
    for (const char c : text) {
        const int value = valueOf(c);
        if (value == NotInAlphabet)
            return std::nullopt;
        bits = (bits << 6 | std::uint32_t(value)) & 0xffffu;
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes[next++] = std::uint8_t(bits >> held);
        }
    }
    // The bits the last character carries beyond the last byte are zero in a link we wrote; any
    // other value would be a second spelling of the same screen.
    if ((bits & ((1u << held) - 1)) != 0)
        return std::nullopt;
    return bytes;
}

} // namespace

std::string_view baseOf(std::string_view base)
{
    return base.substr(0, base.find('#'));
}

bool baseFits(std::string_view base)
{
    return baseOf(base).size() <= MaxBaseLength;
}

std::optional<std::string> screenLink(const bootscreen::DisplayPicture &picture,
                                      std::string_view base)
{
    if (!baseFits(base))
        return std::nullopt;
    const bootscreen::ScreenBuffer screen = bootscreen::packPicture(picture);
    Bytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(screen[i]);
    return std::string(baseOf(base)) + '#' + FragmentKey + encoded(bytes);
}

std::optional<bootscreen::DisplayPicture> screenFromLink(std::string_view link)
{
    const std::size_t hash = link.find('#');
    if (hash == std::string_view::npos)
        return std::nullopt;
    std::string_view fragment = link.substr(hash + 1);
    const std::string_view key = FragmentKey;
    if (fragment.substr(0, key.size()) != key)
        return std::nullopt;
    fragment.remove_prefix(key.size());
    const std::optional<Bytes> bytes = decoded(fragment);
    if (!bytes)
        return std::nullopt;
    bootscreen::ScreenBuffer screen{};
    for (std::size_t i = 0; i < screen.size(); ++i)
        screen[i] = (*bytes)[i];
    return bootscreen::unpackPicture(screen);
}

bool looksLikeLink(std::string_view argument)
{
    if (argument.find('#') == std::string_view::npos)
        return false;
    if (argument.substr(0, 1 + sizeof FragmentKey - 1) == std::string("#") + FragmentKey)
        return true;
    // A scheme: a letter, then letters, digits, + . or -, then "://".
    if (argument.empty() || !isLetter(argument.front()))
        return false;
    std::size_t i = 1;
    while (i < argument.size() && isSchemeCharacter(argument[i]))
        ++i;
    return argument.substr(i, 3) == "://";
}

} // namespace screenlink
