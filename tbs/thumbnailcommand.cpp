#include "bootscreenformat.h"
#include "commandparser.h"
#include "commands.h"
#include "displayimage.h"
#include "imagefile.h"
#include "inputpicture.h"
#include "messages.h"

#include <algorithm>

int runThumbnail(const QStringList &arguments, Streams &streams)
{
    CommandParser parser(QStringLiteral("thumbnail"), QStringLiteral("-s SIZE INPUT OUTPUT.png"),
                         QStringLiteral("Writes a PNG of the picture whose longer side is SIZE "
                                        "pixels (a whole\nmultiple of the 128 display rows, at "
                                        "least one pixel per display pixel),\nfor file "
                                        "managers."));
    QCommandLineParser &options = parser.options();
    options.addPositionalArgument(QStringLiteral("INPUT"), QStringLiteral("A .tbs file."));
    options.addPositionalArgument(QStringLiteral("OUTPUT.png"),
                                  QStringLiteral("The PNG to write."));
    options.addOption(QCommandLineOption({QStringLiteral("s"), QStringLiteral("size")},
                                         QStringLiteral("The longer side in pixels."),
                                         QStringLiteral("SIZE")));
    if (const std::optional<int> done = parser.parse(arguments, streams))
        return *done;
    const QStringList files = options.positionalArguments();
    if (files.size() != 2)
        return parser.usageError(streams, QStringLiteral("Give INPUT and OUTPUT.png."));
    if (!options.isSet(QStringLiteral("size")))
        return parser.usageError(streams, QStringLiteral("No SIZE given (-s SIZE)."));
    QString problem;
    const std::optional<int> size = parser.wholeNumber(QStringLiteral("size"), 1, 8192, &problem);
    if (!size)
        return parser.usageError(streams, problem);

    bootscreen::DisplayPicture picture;
    QString reason;
    if (!inputpicture::readPicture(files[0], {}, streams.in, &picture, &reason)) {
        reportFileError(streams, files[0], reason);
        return Failure;
    }
    const int scale = std::max(1, *size / bootscreen::DisplayRows);
    if (!imagefile::saveImage(files[1], displayImage(picture, scale), "png", &reason)) {
        reportOutputError(streams, files[1], messages::cannotWrite(reason));
        return Failure;
    }
    return Success;
}
