#pragma once

#include "displaypicture.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// A screen as a link: a page's address followed by the fragment #screen= and the screen's 512
// bytes (the entries of its .tbs file, in their order) in base64url without padding. The
// fragment never reaches a server, and the same bytes give the same link in every front end,
// so a link is one more way to hold a boot screen, beside the .tbs file and the editor's bitmap.
namespace screenlink {

// What starts the fragment, after the #.
constexpr char FragmentKey[] = "screen=";
// 512 bytes in base64url without padding: 170 groups of three bytes, then two bytes in three
// characters.
constexpr std::size_t EncodedLength = (bootscreen::EntryCount * 4 + 2) / 3;
constexpr std::size_t FragmentLength = 1 + sizeof FragmentKey - 1 + EncodedLength;
// A link stays within this many characters, so that it survives chat programs and mail that cut
// long lines; the base (the page's own address) gets what the fragment leaves.
constexpr std::size_t MaxLinkLength = 1000;
constexpr std::size_t MaxBaseLength = MaxLinkLength - FragmentLength;

// The base as the link starts with it: without its own fragment, if it has one.
std::string_view baseOf(std::string_view base);

// Whether a link to the base stays within MaxLinkLength.
bool baseFits(std::string_view base);

// The link to `base` that holds the picture; an empty base gives the fragment alone
// (#screen=...). Nothing when the base is too long (baseFits).
std::optional<std::string> screenLink(const bootscreen::DisplayPicture &picture,
                                      std::string_view base);

// The picture a link holds. Only the part after the first # counts, whatever comes before it: it
// must be exactly FragmentKey and EncodedLength characters of base64url that give 512 bytes, the
// last character with no bits beyond them. Nothing for anything else.
std::optional<bootscreen::DisplayPicture> screenFromLink(std::string_view link);

// Whether a command-line argument is meant as a link rather than a file name: it starts with the
// fragment (#screen=) or with a URL scheme and "://", and holds a #. A file name with a # in it
// is neither.
bool looksLikeLink(std::string_view argument);

} // namespace screenlink
