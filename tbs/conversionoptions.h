#pragma once

#include "pictureconversion.h"

#include <QString>
#include <QStringList>

#include <optional>

class CommandParser;

// The options as given, from the command's rows of the option table (the area included where
// the command takes one); nothing, with the problem for the user, when a value is not allowed.
std::optional<pictureconversion::Options> conversionOptions(const CommandParser &parser,
                                                            QString *problem);

// The options that give a conversion's picture again with the other options unchanged:
// "--dither none", "--threshold 140".
QStringList reproducingOptions(const pictureconversion::Conversion &conversion);
