#pragma once

#include "tbsprogram.h"

#include <QBuffer>
#include <QStringList>

// One run of the tbs tool inside the test process, its standard streams in buffers.
// Header-only, for the tests and fuzz targets that link the tool's library.
struct TbsRun
{
    int status;
    QByteArray out;
    QByteArray err;
};

inline TbsRun runTbsWith(const QStringList &arguments, const QByteArray &input = {})
{
    QByteArray inBytes = input;
    QBuffer in(&inBytes);
    QBuffer out;
    QBuffer err;
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Streams streams{in, out, err};
    const int status = runTbs(QStringList{QStringLiteral("tbs")} + arguments, streams);
    return {status, out.data(), err.data()};
}
