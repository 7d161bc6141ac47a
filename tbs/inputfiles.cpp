#include "inputfiles.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// Device and inode where there are such, so that hard links count as the same file.
std::optional<QString> identityOf(const QString &path)
{
    if (path == QLatin1String("-"))
        return std::nullopt;
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return QStringLiteral("%1:%2").arg(quint64(status.st_dev)).arg(quint64(status.st_ino));
#else
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return std::nullopt;
    return canonical;
#endif
}

} // namespace

InputFiles::InputFiles(const QStringList &inputs)
{
    for (const QString &input : inputs) {
        if (const std::optional<QString> identity = identityOf(input))
            inputByIdentity.insert(*identity, input);
    }
}

std::optional<QString> InputFiles::replacedBy(const QString &output) const
{
    const std::optional<QString> identity = identityOf(output);
    if (!identity || !inputByIdentity.contains(*identity))
        return std::nullopt;
    return inputByIdentity.value(*identity);
}
