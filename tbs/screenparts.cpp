#include "screenparts.h"

#include "commandparser.h"
#include "displayarea.h"
#include "inputpicture.h"

#include <QRegularExpression>

namespace screenparts {

void addCompositionOptions(CommandParser &parser)
{
    QCommandLineParser &options = parser.options();
    options.addOption(QCommandLineOption(
        QStringLiteral("area"),
        QStringLiteral("Put the result in this rectangle of the display (in display pixels, "
                       "inside 32 x 128); the other options concern it alone."),
        QStringLiteral("X,Y,W,H")));
    options.addOption(QCommandLineOption(
        QStringLiteral("over"),
        QStringLiteral("Start from this screen (a .tbs file or a picture) instead of a blank "
                       "one; only the area changes. It may be OUTPUT itself."),
        QStringLiteral("FILE")));
}

std::optional<Composition> compositionOptions(const CommandParser &parser, QString *problem)
{
    Composition composition{displayarea::WholeDisplay,
                            parser.options().value(QStringLiteral("over"))};
    if (!parser.options().isSet(QStringLiteral("area")))
        return composition;
    const QString given = parser.options().value(QStringLiteral("area"));
    static const QRegularExpression form(
        QStringLiteral("^(\\d{1,3}),(\\d{1,3}),(\\d{1,3}),(\\d{1,3})$"));
    const QRegularExpressionMatch match = form.match(given);
    if (match.hasMatch()) {
        composition.area = {match.captured(1).toInt(), match.captured(2).toInt(),
                            match.captured(3).toInt(), match.captured(4).toInt()};
        if (displayarea::isOnDisplay(composition.area))
            return composition;
    }
    *problem = QStringLiteral("--area takes X,Y,W,H, a rectangle of at least one pixel inside the "
                              "32 x 128 display, not '%1'.")
                   .arg(given);
    return std::nullopt;
}

bool readBase(const Composition &composition, QIODevice &standardInput,
              bootscreen::DisplayPicture *base, QString *reason)
{
    if (composition.over.isEmpty()) {
        *base = bootscreen::DisplayPicture();
        return true;
    }
    return inputpicture::readPicture(composition.over, pictureconversion::Options(), standardInput,
                                     base, reason);
}

} // namespace screenparts
