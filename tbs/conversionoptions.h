#pragma once

#include "displaypicture.h"
#include "pictureconversion.h"

#include <QString>
#include <QStringList>

#include <optional>

class CommandParser;
struct Streams;

// The options as given, from the command's rows of the option table (the area included where
// the command takes one); nothing, with the problem for the user, when a value is not allowed.
std::optional<pictureconversion::Options> conversionOptions(const CommandParser &parser,
                                                            QString *problem);

// The options that give a conversion's picture again with the other options unchanged:
// "--dither none", "--threshold 140".
QStringList reproducingOptions(const pictureconversion::Conversion &conversion);

// What converting a picture chose, when asked, and a warning when the screen (or the area) came
// out blank from a picture that is not: the usual sign of a dark logo on a transparent
// background. `part` is the result within the area, dark elsewhere.
void reportConversion(Streams &streams, const QString &input,
                      const pictureconversion::Conversion &conversion,
                      const bootscreen::DisplayPicture &part, bool verbose);
