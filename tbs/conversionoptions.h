#pragma once

#include "pictureconversion.h"

#include <QString>
#include <QStringList>

#include <optional>

class CommandParser;

// The options that say how a picture becomes a boot screen, shared by the commands that read
// pictures: --fit, --rotate, --dither, --threshold, the tone options (--levels, --brightness,
// --contrast, --gamma), --invert and --background.
void addConversionOptions(CommandParser &parser);

// The options as given; nothing, with the problem for the user, when a value is not allowed.
std::optional<pictureconversion::Options> conversionOptions(const CommandParser &parser,
                                                            QString *problem);

// The options that give a conversion's picture again with the other options unchanged:
// "--dither none", "--threshold 140".
QStringList reproducingOptions(const pictureconversion::Conversion &conversion);
