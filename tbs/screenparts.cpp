#include "screenparts.h"

#include "commandparser.h"
#include "inputpicture.h"

namespace screenparts {

QString overScreen(const CommandParser &parser)
{
    return parser.options().value(QStringLiteral("over"));
}

bool readBase(const QString &over, QIODevice &standardInput, bootscreen::DisplayPicture *base,
              QString *reason)
{
    if (over.isEmpty()) {
        *base = bootscreen::DisplayPicture();
        return true;
    }
    return inputpicture::readPicture(over, pictureconversion::Options(), standardInput, base,
                                     reason);
}

} // namespace screenparts
