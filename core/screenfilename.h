#pragma once

#include <string_view>

// The name that marks a boot screen file, for every front end: the editor's and tbs's choice of
// format by name, tbs's choice between a screen and a picture input, the studio's opening.
namespace bootscreen {

// The extension of a boot screen file, without the dot; as a format name too.
constexpr char ScreenFileExtension[] = "tbs";

// Whether the name (or path) ends in ".tbs", in any case: "logo.TBS" is a boot screen file,
// "logo.tbs.png" and "tbs" are not.
bool isScreenFileName(std::string_view name);

} // namespace bootscreen
