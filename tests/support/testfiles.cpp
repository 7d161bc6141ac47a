#include "testfiles.h"

#include <QFile>

QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

bool cellIsWhite(const QImage &image, int column, int row)
{
    return qBlue(image.pixel(5 * column + 1, 5 * row + 1)) != 0;
}
