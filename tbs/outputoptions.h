#pragma once

#include "displaypicture.h"
#include "fileformats.h"
#include "streams.h"

#include <QString>

#include <optional>

class CommandParser;

// What the commands that make a screen write, and how: -o, --format and --scale (rows of the
// option table).
namespace outputoptions {

struct Output
{
    QString path;    // a file, "-" for standard output, or an existing folder
    bool intoFolder; // several results, each named after its input, in the folder `path`
    fileformats::Format format;
    int scale;
};

// The options as given. Nothing, with the problem for the user, when OUTPUT is missing, names a
// format there is none of, or does not go with the other options; an existing folder is an
// OUTPUT only when `folderAllowed`.
std::optional<Output> outputOptions(const CommandParser &parser, bool folderAllowed,
                                    QString *problem);

// Writes the picture to `path` as `output` asks, all or nothing; false, the failure reported on
// standard error, when it cannot be written.
bool writeOutput(Streams &streams, const QString &path, const Output &output,
                 const bootscreen::DisplayPicture &picture);

} // namespace outputoptions
