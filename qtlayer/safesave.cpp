#include "safesave.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace safesave {

namespace {

bool failed(const QString &reason, QString *errorString)
{
    if (errorString)
        *errorString = reason;
    return false;
}

QString incompleteWriteReason()
{
    return QCoreApplication::translate("SafeSave", "Could not write the whole file.");
}

// Where the folder takes no new file, QSaveFile writes the target in place and empties it on
// opening, so a failed write would leave it cut short. The files saved here are small: their
// old contents are kept in memory to put back. Only a regular file of a size such saves replace:
// a device or a pipe is not read to its end, and a huge file is not read into memory.
std::optional<QByteArray> oldContents(const QString &fileName)
{
    constexpr qint64 LargestKept = 64 * 1024 * 1024;
    const QFileInfo info(fileName);
    if (!info.isFile() || info.size() > LargestKept)
        return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return contents;
}

// A failed save through a temporary file left the target alone; one written in place did not.
// Appends to `reason` when the old contents cannot be put back.
void putBack(const QString &fileName, const QByteArray &contents, QString *reason)
{
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly) && file.readAll() == contents)
        return;
    file.close();
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(contents) == contents.size()) {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return;
    }
    *reason += QLatin1Char(' ') +
               QCoreApplication::translate("SafeSave", "Its old contents could not be put back: %1")
                   .arg(file.errorString());
}

bool writeFile(const QString &fileName, const WriteContents &write, QString *errorString)
{
    QSaveFile file(fileName);
    file.setDirectWriteFallback(true);
    // Unbuffered: a buffered QSaveFile flushes only while committing, and a write error met
    // there does not stop the commit, so a truncated file would replace the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file.errorString(), errorString);
    QString reason;
    if (!write(file, &reason)) {
        // A short write (a full disk, a file size limit) sets no error of the device's own.
        if (file.error() != QFileDevice::NoError)
            reason = file.errorString();
        else if (reason.isEmpty())
            reason = incompleteWriteReason();
        file.cancelWriting();
        return failed(reason, errorString);
    }
    if (!file.commit())
        return failed(file.errorString(), errorString);
    return true;
}

} // namespace

bool writeBytes(QIODevice &device, const std::string &bytes)
{
    return device.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

bool saveFile(const QString &fileName, const WriteContents &write, QString *errorString)
{
    const std::optional<QByteArray> old = oldContents(fileName);
    QString reason;
    if (writeFile(fileName, write, &reason))
        return true;
    if (old)
        putBack(fileName, *old, &reason);
    return failed(reason, errorString);
}

bool writeStream(QIODevice &stream, const WriteContents &write, QString *errorString)
{
    QString reason;
    const bool written = write(stream, &reason);
    auto *file = qobject_cast<QFileDevice *>(&stream);
    const bool flushed = !file || file->flush();
    if (written && flushed)
        return true;
    if (file && file->error() != QFileDevice::NoError)
        reason = file->errorString();
    else if (reason.isEmpty())
        reason = incompleteWriteReason();
    return failed(reason, errorString);
}

bool saveOrWrite(const QString &path, QIODevice &standardOutput, const WriteContents &write,
                 QString *errorString)
{
    if (path == QLatin1String("-"))
        return writeStream(standardOutput, write, errorString);
    return saveFile(path, write, errorString);
}

} // namespace safesave
