#pragma once

#include "displaypicture.h"
#include "geometry.h"

#include <QString>

#include <optional>

class CommandParser;
class QIODevice;

// Composing a screen from parts, for the commands that make one: --area puts the result in a
// rectangle of the display, --over starts from an existing screen instead of a blank one.
namespace screenparts {

struct Composition
{
    geometry::Rect area;
    QString over; // the screen to start from; empty for a blank one
};

void addCompositionOptions(CommandParser &parser);

// The options as given; nothing, with the problem for the user, when a value is not allowed.
std::optional<Composition> compositionOptions(const CommandParser &parser, QString *problem);

// The screen the part goes onto: --over's picture, read as `convert` reads an input, or a blank
// one. False, with the reason for the user, when it cannot be read.
bool readBase(const Composition &composition, QIODevice &standardInput,
              bootscreen::DisplayPicture *base, QString *reason);

} // namespace screenparts
