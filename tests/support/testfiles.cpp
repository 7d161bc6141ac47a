#include "testfiles.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

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

bool fileSizeLimitAvailable()
{
#ifdef Q_OS_LINUX
    return true;
#else
    return false;
#endif
}

bool runWithFileSizeLimit(qint64 bytes, const std::function<bool()> &write)
{
#ifdef Q_OS_LINUX
    rlimit saved{};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return false;
    rlimit small = saved;
    small.rlim_cur = rlim_t(bytes);
    // Past the limit the kernel sends SIGXFSZ, which would end the test; ignored, the write
    // just fails as it would on a full disk.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (setrlimit(RLIMIT_FSIZE, &small) != 0) {
        std::signal(SIGXFSZ, previousHandler);
        return false;
    }
    const bool result = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return result;
#else
    Q_UNUSED(bytes);
    Q_UNUSED(write);
    return false;
#endif
}
