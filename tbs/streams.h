#pragma once

#include <QIODevice>
#include <QString>

// Where a run of the tool reads and writes: standard input, output and error in the program,
// buffers in the tests.
struct Streams
{
    QIODevice &in;
    QIODevice &out;
    QIODevice &err;
};

// The tool's exit statuses.
enum ExitStatus { Success = 0, Failure = 1, UsageError = 2 };

inline void writeLine(QIODevice &device, const QString &line)
{
    device.write(line.toUtf8() + '\n');
}
