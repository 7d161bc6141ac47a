#pragma once

#include <QString>

#include <functional>
#include <string>

class QIODevice;

// Saving a file all or nothing: the contents go to a temporary file beside the target, which
// replaces the target only once everything was written, so a failed save leaves an existing
// file as it was and creates none.
namespace safesave {

// Writes the contents to the device; false when it could not, with the reason in errorString
// where the device does not carry one.
using WriteContents = std::function<bool(QIODevice &device, QString *errorString)>;

// Writes `bytes` as they are to the device; false when it did not take them all. The contents
// of every file whose bytes the core makes.
bool writeBytes(QIODevice &device, const std::string &bytes);

// Saves the named file through `write`. False on any open, write or commit error, with the
// reason in errorString (if given). Where the folder takes no new file but the file itself is
// writable, the file is written in place, as a plain save would, so that a user who may change
// the file is not refused; if that write fails, the file's old contents are put back.
bool saveFile(const QString &fileName, const WriteContents &write, QString *errorString = nullptr);

// Writes through `write` to a stream that cannot be taken back (standard output), flushing it,
// so that a full disk or a closed pipe is a failure and not a silent loss.
bool writeStream(QIODevice &stream, const WriteContents &write, QString *errorString = nullptr);

// The standard output when the path is "-", the named file otherwise.
bool saveOrWrite(const QString &path, QIODevice &standardOutput, const WriteContents &write,
                 QString *errorString = nullptr);

} // namespace safesave
