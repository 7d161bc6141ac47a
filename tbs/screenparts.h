#pragma once

#include "displaypicture.h"

#include <QString>

class CommandParser;
class QIODevice;

// Composing a screen from parts, for the commands that make one: --area (read with the other
// options of the table) puts the result in a rectangle of the display, --over starts from an
// existing screen instead of a blank one.
namespace screenparts {

// The screen named by --over; empty for a blank one.
QString overScreen(const CommandParser &parser);

// The screen the part goes onto: `over`'s picture, read as `convert` reads an input, or a blank
// one when `over` is empty. False, with the reason for the user, when it cannot be read.
bool readBase(const QString &over, QIODevice &standardInput, bootscreen::DisplayPicture *base,
              QString *reason);

} // namespace screenparts
