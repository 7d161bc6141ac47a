#pragma once

#include "pictureconversion.h"

#include <optional>

class CommandParser;
class QString;

// The options that say how a picture becomes a boot screen, shared by the commands that read
// pictures: --fit, --rotate, --dither, --threshold, --invert and --background.
void addConversionOptions(CommandParser &parser);

// The options as given; nothing, with the problem for the user, when a value is not allowed.
std::optional<pictureconversion::Options> conversionOptions(const CommandParser &parser,
                                                            QString *problem);
