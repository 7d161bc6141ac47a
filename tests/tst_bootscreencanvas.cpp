#include "canvasgeometry.h"
#include "cellpainting.h"
#include "monoimage.h"
#include "randompicture.h"
#include "scribblearea.h"
#include "testfiles.h"

#include <QDir>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using CellList = QVector<QPoint>; // (column, row)
using EntryValues = QMap<int, int>;
Q_DECLARE_METATYPE(RandomPixels)

namespace {

QPoint cellCentre(int column, int row, bool zoomed = false)
{
    const QPoint atScale1(5 * column + 2, 5 * row + 2);
    return zoomed ? atScale1 * canvasgeometry::ZoomFactor : atScale1;
}

void clickCell(ScribbleArea &canvas, int column, int row, bool zoomed = false)
{
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, cellCentre(column, row, zoomed));
}

// The file export writes for these entries, every other entry 0: built by hand here so the
// test does not trust the writer it checks.
QByteArray fileWithEntries(const EntryValues &entries, const char *lineEnd = "\r\n")
{
    QByteArray bytes;
    for (int entry = 0; entry < 512; ++entry)
        bytes += QByteArray::number(entries.value(entry, 0)) + lineEnd;
    return bytes;
}

QVector<bool> cellStates(const QImage &image)
{
    QVector<bool> states;
    for (int row = 0; row < canvasgeometry::DisplayRows; ++row)
        for (int column = 0; column < canvasgeometry::DisplayColumns; ++column)
            states.append(cellIsWhite(image, column, row));
    return states;
}

bool interiorIsUniformly(const QImage &image, int column, int row, bool white)
{
    const QPoint corner = canvasgeometry::interiorTopLeft(column, row);
    for (int dy = 0; dy < 4; ++dy)
        for (int dx = 0; dx < 4; ++dx)
            if ((qBlue(image.pixel(corner + QPoint(dx, dy))) != 0) != white)
                return false;
    return true;
}

} // namespace

class TestBootScreenCanvas : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void exportedBytes_data();
    void exportedBytes();
    void exportOverwritesWithoutTraceAndRepeatsExactly();
    void exportEndsAtScale1AndKeepsModified_data();
    void exportEndsAtScale1AndKeepsModified();
    void failedExportStillPacksForLaterImport();
    void writeFailureKeepsTheOldFile();

    void importPaintsEveryCell_data();
    void importPaintsEveryCell();
    void randomPicturesSurviveExportAndImport_data();
    void randomPicturesSurviveExportAndImport();
    void nonUniformCellComesBackUniform();
    void shortImportRepaintsTheBufferAndKeepsPenAndZoom();
    void failedReadChangesNothing_data();
    void failedReadChangesNothing();
    void importBeforeFirstLayoutIsKept();
    void importMatchesPainter_data();
    void importMatchesPainter();

private:
    QString path(const QString &name) const { return dir->filePath(name); }

    ScribbleArea *canvas = nullptr;
    QTemporaryDir *dir = nullptr;
};

void TestBootScreenCanvas::init()
{
    dir = new QTemporaryDir;
    QVERIFY(dir->isValid());
    canvas = new ScribbleArea;
    canvas->resize(canvasgeometry::CanvasSize);
    canvas->show();
    QVERIFY(QTest::qWaitForWindowExposed(canvas));
    QCOMPARE(canvas->canvasImage().size(), canvasgeometry::CanvasSize);
}

void TestBootScreenCanvas::cleanup()
{
    delete canvas;
    delete dir;
}

void TestBootScreenCanvas::exportedBytes_data()
{
    QTest::addColumn<CellList>("cells");
    QTest::addColumn<EntryValues>("entries");

    QTest::newRow("top-left cell: 128 on line 385") << CellList{{0, 0}} << EntryValues{{384, 128}};
    QTest::newRow("bottom-right cell: entry 127 is 1")
        << CellList{{31, 127}} << EntryValues{{127, 1}};

    CellList row0;
    for (int column = 0; column < 32; ++column)
        row0.append({column, 0});
    QTest::newRow("row 0: 255 in each band")
        << row0 << EntryValues{{0, 255}, {128, 255}, {256, 255}, {384, 255}};

    CellList column9;
    EntryValues band2;
    for (int row = 0; row < 128; ++row) {
        column9.append({9, row});
        band2.insert(256 + row, 64);
    }
    QTest::newRow("column 9: band 2 entries are 64") << column9 << band2;
}

void TestBootScreenCanvas::exportedBytes()
{
    QFETCH(CellList, cells);
    QFETCH(EntryValues, entries);

    for (const QPoint &cell : cells)
        clickCell(*canvas, cell.x(), cell.y());
    QVERIFY(canvas->writeBootScreen(path("picture.tbs")));
    QCOMPARE(readFileBytes(path("picture.tbs")), fileWithEntries(entries));
}

void TestBootScreenCanvas::exportOverwritesWithoutTraceAndRepeatsExactly()
{
    canvas->clearImage(); // All Pixels On
    QVERIFY(writeFileBytes(path("old.tbs"), QByteArray(10000, '7')));

    QVERIFY(canvas->writeBootScreen(path("old.tbs")));
    QVERIFY(canvas->writeBootScreen(path("again.tbs")));
    const QByteArray allOn = readFileBytes(path("old.tbs"));
    QCOMPARE(allOn.size(), 2560);
    QCOMPARE(allOn, fileWithEntries({}).replace("0\r\n", "255\r\n"));
    QCOMPARE(readFileBytes(path("again.tbs")), allOn);
}

void TestBootScreenCanvas::exportEndsAtScale1AndKeepsModified_data()
{
    QTest::addColumn<bool>("drawFirst");
    QTest::addColumn<bool>("zoomFirst");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("written");

    QTest::newRow("clean canvas at scale 1") << false << false << "a.tbs" << true;
    QTest::newRow("drawn canvas at scale 1") << true << false << "a.tbs" << true;
    QTest::newRow("drawn canvas, zoomed") << true << true << "a.tbs" << true;
    QTest::newRow("drawn, zoomed, missing folder") << true << true << "missing/a.tbs" << false;
    QTest::newRow("clean canvas, zoomed, target is a folder") << false << true << "." << false;
}

void TestBootScreenCanvas::exportEndsAtScale1AndKeepsModified()
{
    QFETCH(bool, drawFirst);
    QFETCH(bool, zoomFirst);
    QFETCH(QString, fileName);
    QFETCH(bool, written);

    if (drawFirst)
        clickCell(*canvas, 2, 0);
    if (zoomFirst)
        canvas->zoomIn();
    const bool modifiedBefore = canvas->isModified();
    QCOMPARE(modifiedBefore, drawFirst);

    QCOMPARE(canvas->writeBootScreen(path(fileName)), written);
    QCOMPARE(canvas->errorString().isEmpty(), written);
    QVERIFY(!canvas->isZoomed());
    QCOMPARE(canvas->isModified(), modifiedBefore);
    // Packed whether or not the file opened: cell (2, 0) is bit 5 of entry 384.
    QCOMPARE(canvas->screenBuffer()[384], drawFirst ? 32 : 0);
    // Drawn at scale 1 again: device pixel (12, 2) is inside cell (2, 0), not in cell (0, 0).
    const QImage shown = canvas->grab().toImage();
    QCOMPARE(qBlue(shown.pixel(12, 2)) != 0, drawFirst);
}

void TestBootScreenCanvas::failedExportStillPacksForLaterImport()
{
    clickCell(*canvas, 0, 0);
    clickCell(*canvas, 30, 0);
    QVERIFY(!canvas->writeBootScreen(path("missing/a.tbs")));
    canvas->invertImage(); // so that only painting from the buffer brings the cells back

    // Only line 1 is accepted: 5 sets columns 31 and 29 of row 0 and clears column 30.
    QVERIFY(writeFileBytes(path("short.tbs"), "5\r\n"));
    QVERIFY(canvas->readBootScreen(path("short.tbs")));
    canvas->unpackScreen();
    const QImage &image = canvas->canvasImage();
    QVERIFY(cellIsWhite(image, 0, 0)); // from the packing of the failed export
    QVERIFY(cellIsWhite(image, 31, 0));
    QVERIFY(cellIsWhite(image, 29, 0));
    QVERIFY(!cellIsWhite(image, 30, 0));
    QCOMPARE(cellStates(image).count(true), 3);
}

void TestBootScreenCanvas::writeFailureKeepsTheOldFile()
{
    if (!fileSizeLimitAvailable())
        QSKIP("needs a file size limit to make a write fail after opening");
    const QByteArray oldBytes = fileWithEntries({{0, 1}});
    QVERIFY(writeFileBytes(path("keep.tbs"), oldBytes));
    canvas->clearImage(); // All Pixels On: 2,560 bytes, above the limit

    const bool written =
        runWithFileSizeLimit(1000, [&] { return canvas->writeBootScreen(path("keep.tbs")); });

    QVERIFY(!written);
    QVERIFY2(!canvas->errorString().isEmpty(), "the reason is given");
    QCOMPARE(readFileBytes(path("keep.tbs")), oldBytes);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("keep.tbs")});
}

void TestBootScreenCanvas::importPaintsEveryCell_data()
{
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<CellList>("whiteCells"); // every other cell must be black

    QTest::newRow("line 385 holds 128: only the top-left cell")
        << fileWithEntries({{384, 128}}) << CellList{{0, 0}};
    QTest::newRow("LF line ends read like CR LF")
        << fileWithEntries({{384, 128}}, "\n") << CellList{{0, 0}};
    QTest::newRow("999 paints 231: bits 7 6 5 2 1 0 of band 1, row 3")
        << fileWithEntries({{131, 999}})
        << CellList{{16, 3}, {17, 3}, {18, 3}, {21, 3}, {22, 3}, {23, 3}};
    QTest::newRow("-1 paints all eight cells of band 0, row 2")
        << fileWithEntries({{2, -1}})
        << CellList{{24, 2}, {25, 2}, {26, 2}, {27, 2}, {28, 2}, {29, 2}, {30, 2}, {31, 2}};
}

void TestBootScreenCanvas::importPaintsEveryCell()
{
    QFETCH(QByteArray, fileBytes);
    QFETCH(CellList, whiteCells);

    canvas->clearImage(); // All Pixels On: every black cell below proves it was painted
    QVERIFY(canvas->isModified());
    QVERIFY(writeFileBytes(path("in.tbs"), fileBytes));
    QVERIFY(canvas->readBootScreen(path("in.tbs")));
    canvas->unpackScreen();
    QVERIFY(!canvas->isModified());

    const QImage &image = canvas->canvasImage();
    const QImage shown = canvas->grab().toImage();
    for (int row = 0; row < canvasgeometry::DisplayRows; ++row) {
        for (int column = 0; column < canvasgeometry::DisplayColumns; ++column) {
            const bool white = whiteCells.contains(QPoint(column, row));
            const QString where = QStringLiteral("cell (%1, %2)").arg(column).arg(row);
            QVERIFY2(interiorIsUniformly(image, column, row, white), qPrintable(where));
            QVERIFY2((qBlue(shown.pixel(cellCentre(column, row))) != 0) == white,
                     qPrintable(where + QStringLiteral(" on screen")));
        }
    }
}

void TestBootScreenCanvas::randomPicturesSurviveExportAndImport_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::newRow("seed 7") << 7u;
    QTest::newRow("seed 31337") << 31337u;
    QTest::newRow("seed 900001") << 900001u;
}

void TestBootScreenCanvas::randomPicturesSurviveExportAndImport()
{
    QFETCH(quint32, seed);

    QRandomGenerator random(seed);
    for (int i = 0; i < 400; ++i)
        clickCell(*canvas, int(random.bounded(32)), int(random.bounded(128)));
    const QVector<bool> drawn = cellStates(canvas->canvasImage());

    QVERIFY(canvas->writeBootScreen(path("random.tbs")));
    canvas->invertImage(); // every cell wrong until the import paints it
    QVERIFY(canvas->readBootScreen(path("random.tbs")));
    canvas->unpackScreen();
    QVERIFY2(cellStates(canvas->canvasImage()) == drawn,
             qPrintable(QStringLiteral("seed %1").arg(seed)));
}

void TestBootScreenCanvas::nonUniformCellComesBackUniform()
{
    // A picture not drawn on the grid: cell (3, 4) white only at its interior's top-left pixel,
    // cell (5, 6) white everywhere in its interior except there.
    QImage picture(canvasgeometry::CanvasSize, QImage::Format_RGB32);
    picture.fill(Qt::black);
    picture.setPixel(canvasgeometry::interiorTopLeft(3, 4), qRgb(255, 255, 255));
    const QPoint mixed = canvasgeometry::interiorTopLeft(5, 6);
    {
        QPainter painter(&picture);
        painter.fillRect(QRect(mixed, QSize(4, 4)), Qt::white);
    }
    picture.setPixel(mixed, qRgb(0, 0, 0));
    QVERIFY(picture.save(path("mixed.bmp")));
    QVERIFY(canvas->loadBitmap(path("mixed.bmp")));
    QVERIFY(!interiorIsUniformly(canvas->canvasImage(), 3, 4, true));

    QVERIFY(canvas->writeBootScreen(path("mixed.tbs")));
    QCOMPARE(canvas->screenBuffer()[384 + 4], 0x10); // column 3 is bit 4 of band 3
    QCOMPARE(canvas->screenBuffer()[384 + 6], 0);
    QVERIFY(canvas->readBootScreen(path("mixed.tbs")));
    canvas->unpackScreen();
    QVERIFY(interiorIsUniformly(canvas->canvasImage(), 3, 4, true));
    QVERIFY(interiorIsUniformly(canvas->canvasImage(), 5, 6, false));
}

void TestBootScreenCanvas::shortImportRepaintsTheBufferAndKeepsPenAndZoom()
{
    clickCell(*canvas, 0, 0);
    clickCell(*canvas, 31, 0);
    QVERIFY(canvas->writeBootScreen(path("first.tbs")));
    clickCell(*canvas, 1, 1); // drawn after the export: the buffer does not know it
    canvas->setPenOn(false);
    canvas->zoomIn();

    // One taken line (entry 0: the right band's row 0, now off); every other entry keeps the
    // value the export packed.
    QVERIFY(writeFileBytes(path("short.tbs"), "0\n"));
    QVERIFY(canvas->readBootScreen(path("short.tbs")));
    canvas->unpackScreen();
    QVERIFY(cellIsWhite(canvas->canvasImage(), 0, 0));
    QVERIFY(!cellIsWhite(canvas->canvasImage(), 31, 0));
    QVERIFY(!cellIsWhite(canvas->canvasImage(), 1, 1));
    QVERIFY(!canvas->isModified());
    QVERIFY(canvas->isZoomed());

    // Still zoomed and still painting black: this click at scale 3 turns cell (0, 0) off.
    clickCell(*canvas, 0, 0, true);
    QVERIFY(!cellIsWhite(canvas->canvasImage(), 0, 0));
}

void TestBootScreenCanvas::failedReadChangesNothing_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("contents"); // written to fileName unless it is "absent.tbs"
    QTest::newRow("missing file") << "absent.tbs" << QByteArray();
    QTest::newRow("a folder") << "." << QByteArray();
    // Files from which no line is taken hold no boot screen.
    QTest::newRow("empty file") << "empty.tbs" << QByteArray();
    QTest::newRow("binary file without line ends")
        << "binary.tbs" << QByteArray("\0\x01\x02\xfe\xff", 5).repeated(100);
    QTest::newRow("every line too long") << "long.tbs" << QByteArray("1234\r\n").repeated(512);
    QTest::newRow("one line without its line end") << "noend.tbs" << QByteArray("12");
}

void TestBootScreenCanvas::failedReadChangesNothing()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    if (fileName.endsWith(QLatin1String(".tbs")) && fileName != QLatin1String("absent.tbs"))
        QVERIFY(writeFileBytes(path(fileName), contents));

    clickCell(*canvas, 4, 4);
    QVERIFY(canvas->writeBootScreen(path("packed.tbs")));
    clickCell(*canvas, 5, 5);
    const QImage imageBefore = canvas->canvasImage();
    const bootscreen::ScreenBuffer screenBefore = canvas->screenBuffer();

    QVERIFY(!canvas->readBootScreen(path(fileName)));
    QVERIFY(!canvas->errorString().isEmpty());
    QVERIFY(canvas->screenBuffer() == screenBefore);
    QCOMPARE(canvas->canvasImage(), imageBefore);
    QVERIFY(canvas->isModified());
}

void TestBootScreenCanvas::importBeforeFirstLayoutIsKept()
{
    ScribbleArea unshown; // no resize event yet, so no image
    unshown.packScreen();
    QVERIFY(unshown.screenBuffer() == bootscreen::ScreenBuffer{});

    QVERIFY(writeFileBytes(path("early.tbs"), fileWithEntries({{384, 128}})));
    QVERIFY(unshown.readBootScreen(path("early.tbs")));
    unshown.unpackScreen();
    unshown.resize(canvasgeometry::CanvasSize);
    unshown.show();
    QVERIFY(QTest::qWaitForWindowExposed(&unshown));
    QCOMPARE(unshown.canvasImage().size(), canvasgeometry::CanvasSize);
    QCOMPARE(cellStates(unshown.canvasImage()).count(true), 1);
    QVERIFY(cellIsWhite(unshown.canvasImage(), 0, 0));
}

// What an import paints, by the file format's own rule (bit j of entry 128 b + r is the cell at
// column 31 - 8 b - j, row r), with the painter's lines: the interiors of every cell.
static void paintEntries(QImage &image, const QList<int> &entries)
{
    QPainter painter(&image);
    for (int entry = 0; entry < 512; ++entry) {
        for (int bit = 0; bit < 8; ++bit) {
            const bool on = (entries[entry] >> bit) & 1;
            const int column = 31 - 8 * (entry / 128) - bit;
            const int row = entry % 128;
            painter.setPen(cellPen(on ? Qt::color0 : Qt::color1));
            fillCellInterior(painter, canvasgeometry::interiorTopLeft(column, row));
        }
    }
}

void TestBootScreenCanvas::importMatchesPainter_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<RandomPixels>("pixels");
    QTest::newRow("1-bit canvas, black at index 0") << 41u << RandomPixels::BlackWhite;
    QTest::newRow("1-bit canvas, white at index 0") << 42u << RandomPixels::WhiteBlack;
    QTest::newRow("colour canvas, painted with lines") << 43u << RandomPixels::CellColours;
}

// Importing random entries onto a random picture gives exactly the painter's pixels: interiors
// by the entries, borders and everything beyond the grid untouched. The 1-bit interiors are
// also written on the picture with the least significant bit first, against the painter.
void TestBootScreenCanvas::importMatchesPainter()
{
    QFETCH(quint32, seed);
    QFETCH(RandomPixels, pixels);
    QRandomGenerator random(seed);
    const QImage picture = randomPicture(canvasgeometry::CanvasSize, pixels, random);
    QVERIFY(picture.save(path("picture.png"), "PNG")); // keeps the palette order
    QVERIFY(canvas->loadBitmap(path("picture.png")));
    const QImage before = canvas->canvasImage();
    QList<int> entries;
    QByteArray file;
    for (int entry = 0; entry < 512; ++entry) {
        entries.append(random.bounded(-99, 1000)); // bits beyond 0-7 are never painted
        file += QByteArray::number(entries.last()) + "\r\n";
    }
    QVERIFY(writeFileBytes(path("in.tbs"), file));
    QVERIFY(canvas->readBootScreen(path("in.tbs")));
    canvas->unpackScreen();

    QImage expected = before.copy();
    paintEntries(expected, entries);
    QString difference = firstPixelDifference(canvas->canvasImage(), expected);
    QVERIFY2(difference.isEmpty(),
             qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(difference)));

    if (before.depth() != 1)
        return;
    QImage lsbFirst = before.convertToFormat(QImage::Format_MonoLSB);
    QImage lsbExpected = lsbFirst.copy();
    paintEntries(lsbExpected, entries);
    bootscreen::DisplayPicture cellOn;
    for (int entry = 0; entry < 512; ++entry) {
        for (int bit = 0; bit < 8; ++bit)
            cellOn.setLit(31 - 8 * (entry / 128) - bit, entry % 128, (entries[entry] >> bit) & 1);
    }
    monoimage::fillCellInteriors(lsbFirst, cellOn);
    difference = firstPixelDifference(lsbFirst, lsbExpected);
    QVERIFY2(
        difference.isEmpty(),
        qPrintable(
            QStringLiteral("seed %1, least significant bit first: %2").arg(seed).arg(difference)));
}

QTEST_MAIN(TestBootScreenCanvas)
#include "tst_bootscreencanvas.moc"
