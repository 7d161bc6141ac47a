#include "messages.h"

#include "filewording.h"

#include <QCoreApplication>
#include <QDir>

namespace messages {

QString noBootScreenData()
{
    return QCoreApplication::translate("BootScreenFile", "The file contains no boot screen data.");
}

QString notABootScreenFile()
{
    return QString::fromStdString(filewording::notABootScreenFile());
}

QString isAFolder()
{
    return QStringLiteral("is a folder");
}

QString cannotWrite(const QString &reason)
{
    return QStringLiteral("cannot write: ") + reason;
}

QString inputName(const QString &file)
{
    return file == QLatin1String("-") ? QStringLiteral("standard input")
                                      : QDir::toNativeSeparators(file);
}

QString outputName(const QString &file)
{
    return file == QLatin1String("-") ? QStringLiteral("standard output")
                                      : QDir::toNativeSeparators(file);
}

} // namespace messages
