#pragma once

#include "screenbuffer.h"

#include <QtGlobal>

class QIODevice;
class QString;

// Reading boot screen files. The reader is lenient, as files in circulation rely on it:
// line n (from 1) goes to entry n - 1 when it ends in LF and its content (a CR directly
// before the LF dropped) is 1 to 3 bytes long; any other line leaves its entry as it was,
// and so does every entry after the end of the file.
namespace bootscreen {

// Real files are at most 2,560 bytes. Past this many bytes a device reads as ended, so
// that a huge file or an endless device (/dev/zero) neither fills memory nor hangs.
constexpr qint64 ReadByteCap = 1024 * 1024;

// Longer content leaves its entry unchanged; only this many bytes of a line are ever kept.
constexpr int MaxAcceptedContentLength = 3;

// Reads from the device's current position into the screen buffer and returns how many
// lines were accepted. A read error counts as the end of the file.
int readScreen(QIODevice &device, ScreenBuffer &screen);

// Opens the named file and reads it. Returns false, leaves the screen buffer untouched and says
// why in errorString (if given) when the file cannot be opened, or when not one of its lines is
// taken: such a file (empty, binary, every line too long) holds no boot screen, and reading it
// would only repaint whatever the buffer held before.
bool readScreenFile(const QString &fileName, ScreenBuffer &screen, QString *errorString = nullptr);

} // namespace bootscreen
