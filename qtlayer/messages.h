#pragma once

#include <QString>

// The words users read when a file cannot be used, in one place for the editor and the tool.
namespace messages {

// A file of which not one line is taken: as the editor says it, and as the tool does.
QString noBootScreenData();
QString notABootScreenFile();

QString isAFolder();

// What the tool says before the system's reason when an output cannot be written.
QString cannotWrite(const QString &reason);

// A file as named in messages: "standard input" or "standard output" for "-".
QString inputName(const QString &file);
QString outputName(const QString &file);

} // namespace messages
