// The canvas is drawn from cached frames, composed straight from the bits of a 1-bit black and
// white image and painted for any other; these must match, pixel for pixel, the plain drawing
// (the whole image at scale 1 or 3 and 4,096 outlines stroked one by one), after any mix of
// edits, zoom changes, whole-canvas commands and imports.

#include "canvasgeometry.h"
#include "canvasrendering.h"
#include "framecomposer.h"
#include "randompicture.h"
#include "scribblearea.h"
#include "testfiles.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace canvasgeometry;

Q_DECLARE_METATYPE(RandomPixels)

class TestCanvasRendering : public QObject
{
    Q_OBJECT

private slots:
    void matchesPlainDrawing_data();
    void matchesPlainDrawing();
    void composedFrameMatchesPainter_data();
    void composedFrameMatchesPainter();
};

static QImage plainDrawing(const QImage &canvasImage, int scale)
{
    QImage reference(CanvasSize, QImage::Format_ARGB32_Premultiplied);
    reference.fill(Qt::magenta);
    QPainter painter(&reference);
    painter.scale(scale, scale);
    painter.drawImage(canvasImage.rect(), canvasImage, canvasImage.rect());
    for (int column = 0; column < DisplayColumns; ++column) {
        for (int row = 0; row < DisplayRows; ++row) {
            const bool on = qBlue(canvasImage.pixel(5 * column + 1, 5 * row + 1)) != 0;
            painter.setPen(QPen(QBrush(on ? Qt::black : Qt::white), 0, Qt::SolidLine, Qt::SquareCap,
                                Qt::MiterJoin));
            painter.drawRect(QRect(5 * column, 5 * row, 5, 5));
        }
    }
    return reference;
}

// A boot screen file of 512 random entries, some beyond 0-255 (only bits 0-7 are painted).
static QByteArray randomScreenFile(QRandomGenerator &random)
{
    QByteArray bytes;
    for (int entry = 0; entry < 512; ++entry)
        bytes += QByteArray::number(random.bounded(-99, 1000)) + "\r\n";
    return bytes;
}

static void randomEdits(ScribbleArea &canvas, QRandomGenerator &random, const QString &screenFile)
{
    for (int i = 0; i < 40; ++i) {
        switch (random.bounded(20)) {
        case 0:
            canvas.setPenOn(random.bounded(2));
            break;
        case 1:
            random.bounded(2) ? canvas.zoomIn() : canvas.normalSize();
            break;
        case 2: {
            void (ScribbleArea::*const commands[])() = {
                &ScribbleArea::invertImage, &ScribbleArea::clearImage, &ScribbleArea::fillImage};
            (canvas.*commands[random.bounded(3)])();
            break;
        }
        case 3:
            QVERIFY(writeFileBytes(screenFile, randomScreenFile(random)));
            QVERIFY(canvas.readBootScreen(screenFile));
            canvas.unpackScreen();
            break;
        default: {
            // Mostly on the grid, its last column and row included, sometimes just outside.
            const int scale = canvas.isZoomed() ? ZoomFactor : 1;
            const QPoint start(random.bounded((GridWidth + 4) * scale),
                               random.bounded((GridHeight + 4) * scale));
            QTest::mousePress(&canvas, Qt::LeftButton, {}, start);
            for (int step = random.bounded(6); step > 0; --step)
                QTest::mouseMove(&canvas, start + QPoint(random.bounded(-15, 15) * scale,
                                                         random.bounded(-15, 15) * scale));
            QTest::mouseRelease(&canvas, Qt::LeftButton, {}, start);
        }
        }
        if (random.bounded(4) == 0)
            canvas.repaint(); // so later edits patch frames that exist
    }
}

void TestCanvasRendering::matchesPlainDrawing_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<RandomPixels>("pixels");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QRect>("region");
    const QRect whole(QPoint(0, 0), CanvasSize);
    const RandomPixels blackFirst = RandomPixels::BlackWhite;
    const RandomPixels whiteFirst = RandomPixels::WhiteBlack;
    const RandomPixels colour = RandomPixels::CellColours;
    QTest::newRow("1-bit, scale 1, whole widget") << 11u << blackFirst << 1 << whole;
    QTest::newRow("1-bit, scale 3, whole widget") << 12u << blackFirst << 3 << whole;
    QTest::newRow("1-bit, scale 1, viewport") << 13u << blackFirst << 1 << QRect(37, 113, 250, 460);
    QTest::newRow("1-bit, scale 3, viewport")
        << 14u << blackFirst << 3 << QRect(260, 1500, 250, 460);
    QTest::newRow("1-bit white first, scale 1, whole widget") << 17u << whiteFirst << 1 << whole;
    QTest::newRow("1-bit white first, scale 3, whole widget") << 18u << whiteFirst << 3 << whole;
    QTest::newRow("colour, scale 1, whole widget") << 15u << colour << 1 << whole;
    QTest::newRow("colour, scale 3, viewport") << 16u << colour << 3 << QRect(100, 7, 250, 460);
}

void TestCanvasRendering::matchesPlainDrawing()
{
    QFETCH(quint32, seed);
    QFETCH(RandomPixels, pixels);
    QFETCH(int, scale);
    QFETCH(QRect, region);
    QRandomGenerator random(seed);
    QTemporaryDir dir;
    // PNG keeps the palette order, so a 1-bit picture arrives with its own.
    const QString path = dir.filePath("picture.png");
    const QImage picture = randomPicture(CanvasSize, pixels, random);
    QVERIFY(picture.save(path, "PNG"));

    ScribbleArea canvas;
    canvas.resize(CanvasSize);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    QVERIFY(canvas.loadBitmap(path));
    QCOMPARE(canvas.canvasImage().colorTable(), picture.colorTable());
    for (int round = 0; round < 4; ++round) {
        scale == 1 ? canvas.normalSize() : canvas.zoomIn();
        QImage shot(region.size(), QImage::Format_ARGB32_Premultiplied);
        shot.fill(Qt::cyan);
        canvas.render(&shot, QPoint(), QRegion(region));
        const QImage screen = canvas.grab().toImage();
        const QImage reference = plainDrawing(canvas.canvasImage(), scale);
        QPoint mismatch(-1, -1);
        for (int y = 0; y < region.height() && mismatch.x() < 0; ++y) {
            for (int x = 0; x < region.width() && mismatch.x() < 0; ++x) {
                const QPoint at = region.topLeft() + QPoint(x, y);
                if (shot.pixel(x, y) != reference.pixel(at) ||
                    screen.pixel(at) != reference.pixel(at))
                    mismatch = at;
            }
        }
        if (mismatch.x() >= 0)
            QFAIL(qPrintable(QString("seed %1, round %2: pixel (%3, %4) is %5 rendered, %6 on "
                                     "screen; the plain drawing gives %7")
                                 .arg(seed)
                                 .arg(round)
                                 .arg(mismatch.x())
                                 .arg(mismatch.y())
                                 .arg(shot.pixel(mismatch - region.topLeft()), 8, 16)
                                 .arg(screen.pixel(mismatch), 8, 16)
                                 .arg(reference.pixel(mismatch), 8, 16)));
        randomEdits(canvas, random, dir.filePath("screen.tbs"));
    }
}

void TestCanvasRendering::composedFrameMatchesPainter_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<RandomPixels>("pixels");
    QTest::addColumn<bool>("lsbFirst");
    QTest::addColumn<int>("scale");
    for (const int scale : {1, 3}) {
        for (const bool lsbFirst : {false, true}) {
            for (const RandomPixels pixels : {RandomPixels::BlackWhite, RandomPixels::WhiteBlack}) {
                const quint32 seed = 100u + quint32(scale) * 10u + (lsbFirst ? 2u : 0u) +
                                     (pixels == RandomPixels::WhiteBlack ? 1u : 0u);
                const QString name =
                    QString("scale %1, %2, %3")
                        .arg(scale)
                        .arg(lsbFirst ? "least significant bit first"
                                      : "most significant bit first")
                        .arg(pixels == RandomPixels::WhiteBlack ? "white first" : "black first");
                QTest::newRow(qPrintable(name)) << seed << pixels << lsbFirst << scale;
            }
        }
    }
}

// The composer against the painter on the same frame: the whole frame and patches at odd
// places and sizes (as a painted cell renders them), on images of the canvas's size and on
// smaller ones that end inside the grid. Outside the patch the frame must stay untouched.
void TestCanvasRendering::composedFrameMatchesPainter()
{
    QFETCH(quint32, seed);
    QFETCH(RandomPixels, pixels);
    QFETCH(bool, lsbFirst);
    QFETCH(int, scale);
    QRandomGenerator random(seed);
    for (const QSize &size : {CanvasSize, QSize(131, 600)}) {
        QImage image = randomPicture(size, pixels, random);
        if (lsbFirst)
            image = image.convertToFormat(QImage::Format_MonoLSB);
        QVERIFY(FrameComposer::canCompose(image));
        const QRect frameRect = QRect(QPoint(0, 0), size * scale) & QRect(QPoint(0, 0), CanvasSize);
        QImage painted(frameRect.size(), QImage::Format_RGB32);
        painted.fill(Qt::magenta);
        QPainter painter(&painted);
        canvasrendering::paintCanvas(painter, image, scale, canvasrendering::allCells());
        painter.end();

        FrameComposer composer;
        QList<QRect> patches{frameRect};
        for (int i = 0; i < 20; ++i)
            patches.append(QRect(random.bounded(frameRect.width()),
                                 random.bounded(frameRect.height()), random.bounded(1, 60),
                                 random.bounded(1, 60)));
        for (const QRect &patch : patches) {
            QImage composed(frameRect.size(), QImage::Format_RGB32);
            composed.fill(Qt::magenta);
            composer.compose(composed, image, scale, patch);
            QImage expected(frameRect.size(), QImage::Format_RGB32);
            expected.fill(Qt::magenta);
            QPainter copier(&expected);
            copier.drawImage(patch.topLeft(), painted, patch);
            copier.end();
            const QString difference = firstPixelDifference(composed, expected, frameRect);
            QVERIFY2(difference.isEmpty(),
                     qPrintable(QString("seed %1, image %2 x %3, patch %4, %5 %6 x %7: %8")
                                    .arg(seed)
                                    .arg(size.width())
                                    .arg(size.height())
                                    .arg(patch.x())
                                    .arg(patch.y())
                                    .arg(patch.width())
                                    .arg(patch.height())
                                    .arg(difference)));
        }
    }
}

QTEST_MAIN(TestCanvasRendering)
#include "tst_canvasrendering.moc"
