#pragma once

#include "displaypicture.h"

#include <string>

// The editor's bitmap as a BMP file: 160 x 640 pixels of 1 bit, black cell borders and
// interiors white where lit. The one writer of it, for tbs and the browser studio alike, so
// that both save the same bytes for the same screen; the editor opens it as its own bitmap.
namespace editorbitmapfile {

std::string bitmapFile(const bootscreen::DisplayPicture &picture);

} // namespace editorbitmapfile
