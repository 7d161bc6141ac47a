// The canvas widget: its image and growImage, pixel editing with the mouse at scale 1 and 3,
// the whole-canvas commands, and the cell outlines as they appear on the widget.

#include "canvasgeometry.h"
#include "randompicture.h"
#include "scribblearea.h"
#include "testfiles.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace canvasgeometry;
using Cells = QList<QPoint>;

class TestCanvas : public QObject
{
    Q_OBJECT

private slots:
    void growImage_data();
    void growImage();
    void resizeGrowsOnlyWhenOutgrown();
    void editing_data();
    void editing();
    void dragLines_data();
    void dragLines();
    void penOffPaintsBlack();
    void wholeCanvas_data();
    void wholeCanvas();
    void wholeCanvasOnTakenOverImages_data();
    void wholeCanvasOnTakenOverImages();
    void outlines_data();
    void outlines();
};

static QImage blackCanvasImage(const QSize &size = CanvasSize)
{
    QImage image(size, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(0);
    return image;
}

// A 1-bit image has the canvas's palette, or white at index 0 when `whiteFirst`; any other
// format gets colours around the black/white boundary, some translucent.
static QImage randomImage(QImage::Format format, const QSize &size, quint32 seed,
                          bool whiteFirst = false)
{
    if (format != QImage::Format_Mono)
        return randomPicture(size, RandomPixels::Translucent, seed);
    return randomPicture(size, whiteFirst ? RandomPixels::WhiteBlack : RandomPixels::BlackWhite,
                         seed);
}

// `count` cells in a straight run from `first`, `step` apart.
static Cells cellRun(QPoint first, QPoint step, int count)
{
    Cells cells;
    for (int i = 0; i < count; ++i)
        cells << first + i * step;
    return cells;
}

// A shown canvas at the size the main window gives it, holding `picture` when given.
static void setUp(ScribbleArea &canvas, const QImage &picture = {})
{
    canvas.resize(CanvasSize);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    if (picture.isNull())
        return;
    QTemporaryDir dir;
    // PNG keeps the palette order, so a 1-bit picture arrives just as the canvas's own.
    QVERIFY(picture.save(dir.filePath("picture.png"), "png"));
    QVERIFY(canvas.loadBitmap(dir.filePath("picture.png")));
}

void TestCanvas::growImage_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<QSize>("size");
    QTest::newRow("same size keeps even a 32-bit image untouched")
        << randomImage(QImage::Format_ARGB32, {20, 10}, 1) << QSize(20, 10);
    QTest::newRow("growing puts the picture top-left, black elsewhere")
        << randomImage(QImage::Format_Mono, {7, 3}, 2) << QSize(40, 30);
    QTest::newRow("a palette with white at index 0 maps by colour")
        << randomImage(QImage::Format_Mono, {50, 9}, 5, true) << QSize(60, 10);
    QTest::newRow("cropping keeps the top-left part")
        << randomImage(QImage::Format_Mono, CanvasSize, 3) << GridSize;
    QTest::newRow("colours land on the nearer of black and white, over black, no dither")
        << randomImage(QImage::Format_ARGB32, {300, 200}, 4) << QSize(310, 200);
}

void TestCanvas::growImage()
{
    QFETCH(QImage, source);
    QFETCH(QSize, size);
    QImage image = source;
    ScribbleArea::growImage(&image, size);
    if (source.size() == size) {
        QCOMPARE(image, source);
        return;
    }
    QImage expected = blackCanvasImage(size);
    for (int y = 0; y < qMin(size.height(), source.height()); ++y) {
        for (int x = 0; x < qMin(size.width(), source.width()); ++x) {
            const QRgb colour = qPremultiply(source.pixel(x, y));
            expected.setPixel(x, y, qRed(colour) + qGreen(colour) + qBlue(colour) >= 383);
        }
    }
    QCOMPARE(image.format(), QImage::Format_Mono);
    QCOMPARE(image.colorTable(), expected.colorTable());
    const QString difference = firstPixelDifference(image, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestCanvas::resizeGrowsOnlyWhenOutgrown()
{
    ScribbleArea canvas;
    QVERIFY(canvas.canvasImage().isNull());
    setUp(canvas);
    QCOMPARE(canvas.canvasImage(), blackCanvasImage());
    canvas.invertImage();
    const QImage before = canvas.canvasImage();
    canvas.resize(300, 400);
    QCOMPARE(canvas.canvasImage().cacheKey(), before.cacheKey());
    canvas.resize(800, 2500); // the image keeps its fixed size, whatever the widget's
    QCOMPARE(canvas.canvasImage(), before);
}

void TestCanvas::editing_data()
{
    QTest::addColumn<bool>("zoomed");
    QTest::addColumn<int>("pressButton");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<bool>("releaseFirst");
    QTest::addColumn<Cells>("moves");
    QTest::addColumn<int>("moveButtons");
    QTest::addColumn<Cells>("painted");
    QTest::addColumn<bool>("modified");
    const int left = Qt::LeftButton;
    const int right = Qt::RightButton;
    QTest::newRow("scale 1: click at (7, 12) fills cell (1, 2)")
        << false << left << QPoint(7, 12) << false << Cells{} << left << Cells{{1, 2}} << true;
    QTest::newRow("scale 3: click at (29, 44) fills cell (1, 2)")
        << true << left << QPoint(29, 44) << false << Cells{} << left << Cells{{1, 2}} << true;
    QTest::newRow("scale 1: last cell at (159, 639)")
        << false << left << QPoint(159, 639) << false << Cells{} << left << Cells{{31, 127}}
        << true;
    QTest::newRow("scale 1: click right of the grid paints nothing")
        << false << left << QPoint(160, 5) << false << Cells{} << left << Cells{} << false;
    QTest::newRow("scale 1: click below the grid paints nothing")
        << false << left << QPoint(5, 640) << false << Cells{} << left << Cells{} << false;
    QTest::newRow("scale 3: click at x 480 is right of the grid")
        << true << left << QPoint(480, 10) << false << Cells{} << left << Cells{} << false;
    QTest::newRow("scale 1: drag 1-4 pixels past the left and top edges paints column/row 0")
        << false << left << QPoint(7, 7) << false << Cells{{-4, 7}, {7, -1}} << left
        << Cells{{1, 1}, {0, 1}, {1, 0}} << true;
    QTest::newRow("scale 3: drag to x -14 paints column 0")
        << true << left << QPoint(20, 20) << false << Cells{{-14, 20}} << left
        << Cells{{1, 1}, {0, 1}} << true;
    // From below the grid to a corner of -5 the line misses the grid by a cell.
    QTest::newRow("scale 1: drag further out paints nothing yet marks modified")
        << false << left << QPoint(300, 850) << false << Cells{{-5, 637}} << left << Cells{}
        << true;
    QTest::newRow("drag starting outside the grid paints from where it enters")
        << false << left << QPoint(300, 12) << false << Cells{{7, 12}} << left
        << cellRun({1, 2}, {1, 0}, 31) << true;
    QTest::newRow("scale 1: fast horizontal drag, moves 8 px apart, leaves no gap")
        << false << left << QPoint(2, 12) << false
        << Cells{{10, 12}, {18, 12}, {26, 12}, {34, 12}, {42, 12}} << left
        << cellRun({0, 2}, {1, 0}, 9) << true;
    QTest::newRow("scale 1: fast vertical drag down the whole grid")
        << false << left << QPoint(7, 2) << false << Cells{{7, 320}, {7, 637}} << left
        << cellRun({1, 0}, {0, 1}, 128) << true;
    QTest::newRow("scale 1: one move along the diagonal fills it")
        << false << left << QPoint(2, 2) << false << Cells{{157, 157}} << left
        << cellRun({0, 0}, {1, 1}, 32) << true;
    QTest::newRow("scale 3: a fast drag fills the cells between, by cell")
        << true << left << QPoint(7, 7) << false << Cells{{82, 37}} << left
        << Cells{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}} << true;
    QTest::newRow("leaving right and re-entering lower paints only the grid's cells")
        << false << left << QPoint(152, 12) << false << Cells{{182, 12}, {152, 42}} << left
        << Cells{{30, 2}, {31, 2}, {31, 7}, {30, 8}} << true;
    QTest::newRow("past the left edge and back: the line starts off the grid")
        << false << left << QPoint(7, 7) << false << Cells{{-12, 7}, {17, 17}} << left
        << Cells{{1, 1}, {0, 1}, {0, 2}, {1, 2}, {2, 3}, {3, 3}} << true;
    QTest::newRow("right-button click and drag do nothing")
        << false << right << QPoint(7, 12) << false << Cells{{12, 12}} << right << Cells{} << false;
    QTest::newRow("left held with another button still paints")
        << false << left << QPoint(7, 7) << false << Cells{{12, 7}} << (left | right)
        << Cells{{1, 1}, {2, 1}} << true;
    QTest::newRow("move without the left button paints nothing")
        << false << left << QPoint(7, 7) << false << Cells{{12, 7}} << right << Cells{{1, 1}}
        << true;
    QTest::newRow("release ends the drag")
        << false << left << QPoint(7, 7) << true << Cells{{12, 7}} << left << Cells{{1, 1}} << true;
}

void TestCanvas::editing()
{
    QFETCH(bool, zoomed);
    QFETCH(int, pressButton);
    QFETCH(QPoint, press);
    QFETCH(bool, releaseFirst);
    QFETCH(Cells, moves);
    QFETCH(int, moveButtons);
    QFETCH(Cells, painted);
    QFETCH(bool, modified);
    ScribbleArea canvas;
    setUp(canvas);
    if (zoomed)
        canvas.zoomIn();
    const auto button = Qt::MouseButton(pressButton);
    QTest::mousePress(&canvas, button, {}, press);
    if (releaseFirst)
        QTest::mouseRelease(&canvas, button, {}, press);
    for (const QPoint &position : moves) {
        QMouseEvent move(QEvent::MouseMove, position, canvas.mapToGlobal(position), Qt::NoButton,
                         Qt::MouseButtons(moveButtons), Qt::NoModifier);
        QApplication::sendEvent(&canvas, &move);
    }
    if (!releaseFirst)
        QTest::mouseRelease(&canvas, button, {}, moves.isEmpty() ? press : moves.last());

    QImage expected = blackCanvasImage();
    for (const QPoint &cell : painted) {
        for (int y = 1; y <= InteriorSize; ++y)
            for (int x = 1; x <= InteriorSize; ++x)
                expected.setPixel(cellCorner(cell.x(), cell.y()) + QPoint(x, y), 1);
    }
    const QString difference = firstPixelDifference(canvas.canvasImage(), expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(canvas.isModified(), modified);
}

// The drags of tests/data/drag-lines.txt, which the studio's tests read too: the same drag
// paints the same cells in both.
void TestCanvas::dragLines_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<Cells>("painted");
    QFile file(QStringLiteral(TARROW_TEST_DATA "/drag-lines.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const auto point = [](const QString &text) {
        const QStringList xy = text.split(QLatin1Char(','));
        return QPoint(xy[0].toInt(), xy[1].toInt());
    };
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList ends = line.section(QLatin1Char(':'), 0, 0).split(QLatin1Char(' '));
        Cells cells;
        for (const QString &cell :
             line.section(QLatin1Char(':'), 1).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            cells << point(cell);
        QTest::newRow(qPrintable(line.section(QLatin1Char(':'), 0, 0)))
            << point(ends[0]) << point(ends[1]) << cells;
    }
}

void TestCanvas::dragLines()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(Cells, painted);
    ScribbleArea canvas;
    setUp(canvas);
    const auto centre = [](const QPoint &cell) {
        return cellCorner(cell.x(), cell.y()) + QPoint(2, 2);
    };
    QTest::mousePress(&canvas, Qt::LeftButton, {}, centre(from));
    QMouseEvent move(QEvent::MouseMove, centre(to), canvas.mapToGlobal(centre(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &move);
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, centre(to));
    Cells lit;
    for (int row = 0; row < DisplayRows; ++row)
        for (int column = 0; column < DisplayColumns; ++column)
            if (cellIsOn(canvas.canvasImage(), column, row))
                lit << QPoint(column, row);
    const auto byRowThenColumn = [](const QPoint &a, const QPoint &b) {
        return std::make_pair(a.y(), a.x()) < std::make_pair(b.y(), b.x());
    };
    std::sort(painted.begin(), painted.end(), byRowThenColumn);
    QCOMPARE(lit, painted);
}

void TestCanvas::penOffPaintsBlack()
{
    ScribbleArea canvas;
    setUp(canvas);
    canvas.clearImage();
    const QImage allOn = canvas.canvasImage();
    canvas.setPenOn(false);
    QCOMPARE(canvas.canvasImage(), allOn); // switching the pen changes no pixel
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(7, 12));
    QCOMPARE(canvas.canvasImage().pixel(6, 11), qRgb(0, 0, 0));
    QCOMPARE(canvas.canvasImage().pixel(9, 14), qRgb(0, 0, 0));
    QCOMPARE(canvas.canvasImage().pixel(5, 10), qRgb(255, 255, 255)); // border untouched
    QCOMPARE(canvas.canvasImage().pixel(10, 15), qRgb(255, 255, 255));
    canvas.setPenOn(true);
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(7, 12));
    QCOMPARE(canvas.canvasImage(), allOn);
}

void TestCanvas::wholeCanvas_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("times");
    QTest::newRow("invert flips every pixel, borders and beyond the grid too") << 0 << 1;
    QTest::newRow("inverting twice restores everything") << 0 << 2;
    QTest::newRow("all on (clearImage) turns every pixel white") << 1 << 1;
    QTest::newRow("all off (fillImage) turns every pixel black") << 2 << 1;
}

void TestCanvas::wholeCanvas()
{
    QFETCH(int, command);
    QFETCH(int, times);
    const quint32 seed = 7;
    ScribbleArea canvas;
    setUp(canvas, randomImage(QImage::Format_Mono, CanvasSize, seed));
    canvas.zoomIn();
    canvas.setPenOn(false);
    const QImage before = canvas.canvasImage();
    const bootscreen::ScreenBuffer screen = canvas.screenBuffer();
    void (ScribbleArea::*const commands[])() = {
        &ScribbleArea::invertImage, &ScribbleArea::clearImage, &ScribbleArea::fillImage};
    for (int i = 0; i < times; ++i)
        (canvas.*commands[command])();

    QImage expected = before;
    if (command == 0 && times == 1)
        expected.invertPixels();
    else if (command != 0)
        expected.fill(command == 1 ? 1 : 0);
    const QString difference = firstPixelDifference(canvas.canvasImage(), expected);
    QVERIFY2(difference.isEmpty(), qPrintable(QString("seed %1: %2").arg(seed).arg(difference)));
    QVERIFY(canvas.isModified());
    QVERIFY(canvas.isZoomed());
    QVERIFY(canvas.screenBuffer() == screen);
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(20, 20)); // the pen is still off
    QCOMPARE(canvas.canvasImage().pixel(6, 6), qRgb(0, 0, 0));
}

void TestCanvas::wholeCanvasOnTakenOverImages_data()
{
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("allOn");
    const int whiteFirst = int(RandomPixels::WhiteBlack);
    const int colour = int(RandomPixels::CellColours);
    QTest::newRow("1-bit, white at index 0, all on") << whiteFirst << true;
    QTest::newRow("1-bit, white at index 0, all off") << whiteFirst << false;
    QTest::newRow("32-bit colour, all on") << colour << true;
    QTest::newRow("32-bit colour, all off") << colour << false;
}

// On an image taken over in its own format the raw fill value need not mean white or black;
// the block holding the grid must still end up in the command's colour, exactly as a painter
// stroking its 674 lines leaves it.
void TestCanvas::wholeCanvasOnTakenOverImages()
{
    QFETCH(int, pixels);
    QFETCH(bool, allOn);
    const quint32 seed = 31;
    ScribbleArea canvas;
    setUp(canvas, randomPicture(CanvasSize, RandomPixels(pixels), seed));
    QImage expected = canvas.canvasImage();
    if (allOn)
        canvas.clearImage();
    else
        canvas.fillImage();

    // The block is filled as one rectangle, not as 674 lines: Qt 6.4 strokes long cosmetic lines
    // on 1-bit images from several threads at once and now and then loses a pixel under load.
    expected.fill(allOn ? 1 : 0);
    QPainter painter(&expected);
    painter.fillRect(QRect(0, 0, 163, 674), QColor(allOn ? Qt::color0 : Qt::color1));
    painter.end();
    const QString difference = firstPixelDifference(canvas.canvasImage(), expected);
    QVERIFY2(difference.isEmpty(), qPrintable(QString("seed %1: %2").arg(seed).arg(difference)));
    QCOMPARE(cellIsOn(canvas.canvasImage(), 31, 127), allOn);
}

void TestCanvas::outlines_data()
{
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("picture"); // 0 random cells, 1 all on, 2 all off
    QTest::newRow("scale 1, random cells") << 1 << 0;
    QTest::newRow("scale 3, random cells") << 3 << 0;
    QTest::newRow("scale 1, all on: white beyond the grid") << 1 << 1;
    QTest::newRow("scale 3, all off: black beyond the grid") << 3 << 2;
}

// Lines every 5 x scale device pixels, one pixel wide, from 0 to the grid's far edges; a line
// pixel takes the outline of the last cell drawn over it, columns outer and rows inner.
void TestCanvas::outlines()
{
    QFETCH(int, scale);
    QFETCH(int, picture);
    const quint32 seed = 21;
    ScribbleArea canvas;
    setUp(canvas, randomImage(QImage::Format_Mono, CanvasSize, seed));
    if (picture == 1)
        canvas.clearImage();
    if (picture == 2)
        canvas.fillImage();
    if (scale == 3)
        canvas.zoomIn();
    const QImage image = canvas.canvasImage();
    const QImage screen = canvas.grab().toImage();
    const int pitch = CellSize * scale;
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            const bool inGrid = x <= GridWidth * scale && y <= GridHeight * scale;
            const bool onLine = inGrid && (x % pitch == 0 || y % pitch == 0);
            const int column = qMin(x / pitch, DisplayColumns - 1);
            const int row = qMin(y / pitch, DisplayRows - 1);
            const QRgb expected = !onLine                        ? image.pixel(x / scale, y / scale)
                                  : cellIsOn(image, column, row) ? qRgb(0, 0, 0)
                                                                 : qRgb(255, 255, 255);
            if (screen.pixel(x, y) != expected)
                QFAIL(qPrintable(QString("seed %1: device pixel (%2, %3) is %4, expected %5")
                                     .arg(seed)
                                     .arg(x)
                                     .arg(y)
                                     .arg(screen.pixel(x, y), 8, 16)
                                     .arg(expected, 8, 16)));
        }
    }
}

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
