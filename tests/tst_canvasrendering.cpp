// The canvas is drawn from cached frames; these must match, pixel for pixel, the plain
// drawing (the whole image at scale 1 or 3 and 4,096 outlines stroked one by one), after any
// mix of edits, zoom changes and whole-canvas commands.

#include "canvasgeometry.h"
#include "scribblearea.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace canvasgeometry;

class TestCanvasRendering : public QObject
{
    Q_OBJECT

private slots:
    void matchesPlainDrawing_data();
    void matchesPlainDrawing();
};

static QImage plainDrawing(const QImage &canvasImage, int scale)
{
    QImage reference(CanvasSize, QImage::Format_ARGB32_Premultiplied);
    reference.fill(Qt::magenta);
    QPainter painter(&reference);
    painter.scale(scale, scale);
    painter.drawImage(canvasImage.rect(), canvasImage, canvasImage.rect());
    for (int column = 0; column < Columns; ++column) {
        for (int row = 0; row < Rows; ++row) {
            const bool on = qBlue(canvasImage.pixel(5 * column + 1, 5 * row + 1)) != 0;
            painter.setPen(QPen(QBrush(on ? Qt::black : Qt::white), 0, Qt::SolidLine, Qt::SquareCap,
                                Qt::MiterJoin));
            painter.drawRect(QRect(5 * column, 5 * row, 5, 5));
        }
    }
    return reference;
}

// Every pixel random, borders and disagreeing interiors included; the colour canvas has
// bright colours without blue (off) and dark ones with a little (on).
static QImage randomPicture(QRandomGenerator &random, bool colour)
{
    QImage picture(CanvasSize, colour ? QImage::Format_RGB32 : QImage::Format_Mono);
    if (!colour)
        picture.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (!colour)
                picture.setPixel(x, y, random.bounded(2));
            else
                picture.setPixel(x, y, random.bounded(2) ? qRgb(250, 200, 0) : qRgb(9, 4, 1));
        }
    }
    return picture;
}

static void randomEdits(ScribbleArea &canvas, QRandomGenerator &random)
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
    QTest::addColumn<bool>("colour");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QRect>("region");
    const QRect whole(QPoint(0, 0), CanvasSize);
    QTest::newRow("1-bit, scale 1, whole widget") << 11u << false << 1 << whole;
    QTest::newRow("1-bit, scale 3, whole widget") << 12u << false << 3 << whole;
    QTest::newRow("1-bit, scale 1, viewport") << 13u << false << 1 << QRect(37, 113, 250, 460);
    QTest::newRow("1-bit, scale 3, viewport") << 14u << false << 3 << QRect(260, 1500, 250, 460);
    QTest::newRow("colour, scale 1, whole widget") << 15u << true << 1 << whole;
    QTest::newRow("colour, scale 3, viewport") << 16u << true << 3 << QRect(100, 7, 250, 460);
}

void TestCanvasRendering::matchesPlainDrawing()
{
    QFETCH(quint32, seed);
    QFETCH(bool, colour);
    QFETCH(int, scale);
    QFETCH(QRect, region);
    QRandomGenerator random(seed);
    QTemporaryDir dir;
    const QString path = dir.filePath("picture.bmp");
    QVERIFY(randomPicture(random, colour).save(path, "BMP"));

    ScribbleArea canvas;
    canvas.resize(CanvasSize);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    QVERIFY(canvas.loadBitmap(path));
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
        randomEdits(canvas, random);
    }
}

QTEST_MAIN(TestCanvasRendering)
#include "tst_canvasrendering.moc"
