#pragma once

#include "screenbuffer.h"

#include <QString>

#include <string>

class QIODevice;

// Boot screen files on disk and on streams.
namespace screenfile {

// The bytes the reader may use, from the device's current position: at most ReadByteCap + 1,
// so that a huge file or an endless device (/dev/zero) neither fills memory nor hangs. A read
// error counts as the end of the file.
std::string readCapped(QIODevice &device);

// Reads a boot screen from the device's current position (at most the capped bytes) over
// `screen`, for the editor and tbs alike: lines the file does not give keep their entries.
// False, the screen untouched, when not one line is taken; each caller words that its own way.
bool readScreen(QIODevice &device, bootscreen::ScreenBuffer &screen);

// Opens the named file and reads it. Returns false, leaves the screen buffer untouched and says
// why in errorString (if given) when the file cannot be opened, or when not one of its lines is
// taken.
bool readScreenFile(const QString &fileName, bootscreen::ScreenBuffer &screen,
                    QString *errorString = nullptr);

// Writes the file's bytes to an open device; false when the device did not take them all.
bool writeScreen(QIODevice &device, const bootscreen::ScreenBuffer &screen);

// Saves the named file all or nothing, with the reason in errorString (if given) when it could
// not.
bool saveScreenFile(const QString &fileName, const bootscreen::ScreenBuffer &screen,
                    QString *errorString = nullptr);

} // namespace screenfile
