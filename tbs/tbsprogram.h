#pragma once

#include "streams.h"

#include <QStringList>

// The tbs command line: `tbs COMMAND [options] ...`, with --help and --version. `arguments`
// starts with the program's name, as QCoreApplication::arguments() does. Returns the exit
// status.
int runTbs(const QStringList &arguments, Streams &streams);
