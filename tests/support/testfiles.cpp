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

QString firstPixelDifference(const QImage &actual, const QImage &expected, QRect area)
{
    if (actual.size() != expected.size() || actual.format() != expected.format() ||
        actual.colorTable() != expected.colorTable())
        return QStringLiteral("another size, format or palette: %1 x %2, format %3")
            .arg(actual.width())
            .arg(actual.height())
            .arg(int(actual.format()));
    if (area.isNull())
        area = actual.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return QStringLiteral("pixel (%1, %2) is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(actual.pixel(x, y), 8, 16)
                    .arg(expected.pixel(x, y), 8, 16);
        }
    }
    return {};
}
