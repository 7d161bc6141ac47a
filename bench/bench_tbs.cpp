// Medians for the tbs tool, process to process as a user runs it: a large photo with every
// default on (the tone step and the automatic choice), the compare sheet of it, a thousand
// small pictures in one call, a thousand files checked in one call, and four lines of text.
// When ImageMagick's convert is installed, the photo is also reduced and dithered by it, side
// by side.

#include "benchstats.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int ManyFiles = 1000;

// Something like a photo: a sky, a few soft shapes, and sensor noise, which JPEG keeps too.
QImage syntheticPhoto(const QSize &size, quint32 seed)
{
    QImage photo(size, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(70, 120, 200));
    sky.setColorAt(1, QColor(230, 200, 150));
    painter.fillRect(photo.rect(), sky);
    QRandomGenerator random(seed);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        painter.setBrush(
            QColor(random.bounded(256), random.bounded(256), random.bounded(256), 160));
        const int radius = random.bounded(100, 700);
        painter.drawEllipse(QPoint(random.bounded(size.width()), random.bounded(size.height())),
                            radius, radius);
    }
    painter.end();
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(random.bounded(17)) - 8;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + noise, 255), qBound(0, qGreen(c) + noise, 255),
                           qBound(0, qBlue(c) + noise, 255));
        }
    }
    return photo;
}

bool run(const QString &program, const QStringList &arguments, int expectedStatus = 0)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != expectedStatus) {
        std::fprintf(stderr, "%s %s failed: %s\n", qPrintable(program),
                     qPrintable(arguments.join(QLatin1Char(' '))),
                     process.readAllStandardError().constData());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString tbs = QStringLiteral(TBS_PROGRAM);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder: %s\n", qPrintable(dir.errorString()));
        return 1;
    }
    bool ok = true;

    const QString photo = dir.filePath(QStringLiteral("photo.jpg"));
    QImageWriter writer(photo, "jpeg");
    writer.setQuality(90);
    if (!writer.write(syntheticPhoto(QSize(4000, 3000), 7))) {
        std::fprintf(stderr, "cannot write the photo: %s\n", qPrintable(writer.errorString()));
        return 1;
    }
    const double tbsPhoto = reportMedian("tbs convert: 4000 x 3000 JPEG photo to .tbs", 9, [&] {
        ok &= run(tbs, {QStringLiteral("convert"), photo, QStringLiteral("-o"),
                        dir.filePath(QStringLiteral("photo.tbs"))});
    });
    const QString imageMagick = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (imageMagick.isEmpty()) {
        std::printf("ImageMagick's convert is not installed: no side-by-side figure\n");
    } else {
        const double magick = reportMedian("ImageMagick: the same photo to a 32 x 128 PBM", 9, [&] {
            ok &= run(imageMagick,
                      {photo, QStringLiteral("-resize"), QStringLiteral("32x128"),
                       QStringLiteral("-dither"), QStringLiteral("FloydSteinberg"),
                       QStringLiteral("-monochrome"), dir.filePath(QStringLiteral("magick.pbm"))});
        });
        std::printf("tbs / ImageMagick: %.3f  goal <= 0.100: %s\n", tbsPhoto / magick,
                    tbsPhoto / magick <= 0.1 ? "met" : "MISSED");
    }
    reportMedian(
        "tbs compare: the same photo to a sheet of candidates", 9,
        [&] {
            ok &= run(tbs, {QStringLiteral("compare"), photo, QStringLiteral("-o"),
                            dir.filePath(QStringLiteral("sheet.png"))});
        },
        5e5);

    // A thousand small pictures, as a batch of icons or frames would be.
    QDir(dir.path()).mkpath(QStringLiteral("small"));
    QDir(dir.path()).mkpath(QStringLiteral("screens"));
    QStringList pictures{QStringLiteral("convert")};
    for (int i = 0; i < ManyFiles; ++i) {
        const QString name = dir.filePath(QStringLiteral("small/picture%1.png").arg(i));
        ok &= syntheticPhoto(QSize(64, 96), quint32(100 + i)).save(name);
        pictures << name;
    }
    pictures << QStringLiteral("-o") << dir.filePath(QStringLiteral("screens"));
    reportMedian(
        "tbs convert: 1,000 small PNGs in one call", 5, [&] { ok &= run(tbs, pictures); }, 2.5e6);

    QStringList screens{QStringLiteral("check")};
    for (int i = 0; i < ManyFiles; ++i)
        screens << dir.filePath(QStringLiteral("screens/picture%1.tbs").arg(i));
    reportMedian(
        "tbs check: 1,000 files in one call", 9, [&] { ok &= run(tbs, screens); }, 3e5);

    reportMedian("tbs --version: process start-up", 21,
                 [&] { ok &= run(tbs, {QStringLiteral("--version")}); });

    // Four lines, the font chosen among all of them in both directions, as an owner runs it.
    reportMedian(
        "tbs text: four lines, --font auto, to .tbs", 21,
        [&] {
            ok &= run(tbs,
                      {QStringLiteral("text"), QStringLiteral("IF FOUND"),
                       QStringLiteral("PLEASE CALL"), QStringLiteral("Zoë Müller"),
                       QStringLiteral("555-0100"), QStringLiteral("--font"), QStringLiteral("auto"),
                       QStringLiteral("-o"), dir.filePath(QStringLiteral("text.tbs"))});
        },
        2e4);

    if (!ok) {
        std::fprintf(stderr, "a run failed during the benchmark\n");
        return 1;
    }
    return 0;
}
