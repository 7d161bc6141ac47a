#include "safesave.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <QSaveFile>

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

} // namespace

bool saveFile(const QString &fileName, const WriteContents &write, QString *errorString)
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
