#pragma once

#include "streams.h"

#include <QStringList>

// The tool's commands. Each takes the arguments after its name and returns the exit status.
int runConvert(const QStringList &arguments, Streams &streams);
int runText(const QStringList &arguments, Streams &streams);
int runCheck(const QStringList &arguments, Streams &streams);
int runShow(const QStringList &arguments, Streams &streams);
int runThumbnail(const QStringList &arguments, Streams &streams);
int runCompare(const QStringList &arguments, Streams &streams);
int runLink(const QStringList &arguments, Streams &streams);

// `tbs: FILE: reason` on standard error, for an input ("-" is named standard input) and for an
// output ("-" is named standard output).
void reportFileError(Streams &streams, const QString &file, const QString &reason);
void reportOutputError(Streams &streams, const QString &file, const QString &reason);

// Writes a command's report to standard output; a failed write (a full disk, a closed pipe) is
// reported and gives the exit status for it.
int writeReport(Streams &streams, const QByteArray &report, int status);
