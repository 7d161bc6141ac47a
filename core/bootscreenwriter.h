#pragma once

#include "screenbuffer.h"

#include <string>

// Writing boot screen files: 512 lines, each an entry in decimal followed by CR LF on
// every platform (see entryText and LineEnd).
namespace bootscreen {

// The bytes of the file for this screen buffer.
std::string formatScreen(const ScreenBuffer &screen);

} // namespace bootscreen
