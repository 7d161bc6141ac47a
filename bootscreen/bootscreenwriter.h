#pragma once

#include "screenbuffer.h"

#include <QByteArray>

class QIODevice;
class QString;

// Writing boot screen files: 512 lines, each an entry in decimal followed by CR LF on
// every platform (see entryText and LineEnd).
namespace bootscreen {

// The bytes of the file for this screen buffer.
QByteArray formatScreen(const ScreenBuffer &screen);

// Writes the file's bytes to an open device; false when the device did not take them all
// (the device's errorString says why).
bool writeScreen(QIODevice &device, const ScreenBuffer &screen);

// Writes the named file through a temporary file that replaces it only once everything was
// written, so a failed save leaves an existing file as it was. False on any open, write or
// commit error, with the reason in errorString (if given).
bool saveScreenFile(const QString &fileName, const ScreenBuffer &screen,
                    QString *errorString = nullptr);

} // namespace bootscreen
