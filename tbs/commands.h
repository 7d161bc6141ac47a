#pragma once

#include "streams.h"

#include <QStringList>

// The tool's commands. Each takes the arguments after its name and returns the exit status.
int runConvert(const QStringList &arguments, Streams &streams);
int runCheck(const QStringList &arguments, Streams &streams);
int runShow(const QStringList &arguments, Streams &streams);
int runThumbnail(const QStringList &arguments, Streams &streams);

// `tbs: FILE: reason` on standard error; standard input is named as such.
void reportFileError(Streams &streams, const QString &file, const QString &reason);
