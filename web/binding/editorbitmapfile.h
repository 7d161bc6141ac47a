#pragma once

#include "displaypicture.h"

#include <string>

// The editor's bitmap as a BMP file: 160 x 640 pixels of 1 bit, black cell borders and
// interiors white where lit, exactly the bytes that tbs saves for a screen.
namespace editorbitmapfile {

std::string bitmapFile(const bootscreen::DisplayPicture &picture);

} // namespace editorbitmapfile
