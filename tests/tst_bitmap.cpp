// Bitmap files: saving the grid area as a 1-bit image, opening any decodable image into the
// canvas, and failures that must leave both the canvas and any older file untouched.

#include "canvasgeometry.h"
#include "randompicture.h"
#include "scribblearea.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <memory>

using namespace canvasgeometry;

class TestBitmap : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void roundTrip_data();
    void roundTrip();
    void savedFileIsOneBitGridArea();
    void opening_data();
    void opening();
    void takenOverImageStaysEditable_data();
    void takenOverImageStaysEditable();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void writeFailureKeepsOldFile_data();
    void writeFailureKeepsOldFile();
    void failedOpenChangesNothing_data();
    void failedOpenChangesNothing();

private:
    std::unique_ptr<QTemporaryDir> dir; // a fresh one for every test
    QString path(const char *name) const { return dir->filePath(QString::fromLatin1(name)); }
};

static const quint32 Seed = 99;

// A 1-bit picture with the canvas's palette, or a colour one whose cells are judged by blue.
static QImage randomPicture(QImage::Format format, const QSize &size)
{
    return randomPicture(
        size, format == QImage::Format_Mono ? RandomPixels::BlackWhite : RandomPixels::CellColours,
        Seed);
}

// A shown canvas at the size the main window gives it, with a drawn and modified picture.
static void setUp(ScribbleArea &canvas)
{
    canvas.resize(CanvasSize);
    canvas.show();
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(7, 12));
    QVERIFY(canvas.isModified());
}

void TestBitmap::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestBitmap::roundTrip_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("command"); // -1 none, 0 invert, 1 all on
    QTest::newRow("BMP keeps every cell and its border pixels") << QByteArray("BMP") << -1;
    QTest::newRow("PNG keeps them too") << QByteArray("png") << -1;
    QTest::newRow("BMP after invert") << QByteArray("BMP") << 0;
    QTest::newRow("BMP after All Pixels On is all white") << QByteArray("BMP") << 1;
}

void TestBitmap::roundTrip()
{
    QFETCH(QByteArray, format);
    QFETCH(int, command);
    const QString random = path("random.png");
    QVERIFY(randomPicture(QImage::Format_Mono, CanvasSize).save(random));
    ScribbleArea canvas;
    setUp(canvas);
    QVERIFY(canvas.loadBitmap(random));
    if (command == 0)
        canvas.invertImage();
    if (command == 1)
        canvas.clearImage();
    const QImage drawn = canvas.canvasImage();
    const QString saved = path("saved.img");
    QVERIFY2(canvas.saveBitmap(saved, format.constData()), qPrintable(canvas.errorString()));
    QVERIFY(!canvas.isModified());

    ScribbleArea reopened;
    setUp(reopened);
    QVERIFY2(reopened.loadBitmap(saved), qPrintable(reopened.errorString()));
    QVERIFY(!reopened.isModified());
    const QImage image = reopened.canvasImage();
    QCOMPARE(image.size(), CanvasSize);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inGrid = x < GridWidth && y < GridHeight;
            const QRgb expected = !inGrid        ? qRgb(0, 0, 0)
                                  : command == 1 ? qRgb(255, 255, 255)
                                                 : drawn.pixel(x, y);
            if (image.pixel(x, y) != expected)
                QFAIL(qPrintable(QString("seed %1: pixel (%2, %3) is %4")
                                     .arg(Seed)
                                     .arg(x)
                                     .arg(y)
                                     .arg(image.pixel(x, y), 8, 16)));
        }
    }
}

void TestBitmap::savedFileIsOneBitGridArea()
{
    ScribbleArea canvas;
    setUp(canvas);
    QVERIFY(canvas.saveBitmap(path("grid.bmp"), "BMP"));
    const QByteArray bytes = readFileBytes(path("grid.bmp"));
    QVERIFY(bytes.size() > 62);
    const auto field = [&bytes](int offset, int size) {
        return size == 2 ? qFromLittleEndian<quint16>(bytes.constData() + offset)
                         : qFromLittleEndian<qint32>(bytes.constData() + offset);
    };
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(field(18, 4), GridWidth);
    QCOMPARE(field(22, 4), GridHeight);
    QCOMPARE(field(28, 2), 1);                                           // bits per pixel
    QCOMPARE(field(46, 4), 2);                                           // palette entries
    QCOMPARE(bytes.mid(54, 8), QByteArray("\0\0\0\0\xff\xff\xff\0", 8)); // black, then white
}

void TestBitmap::opening_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QSize>("canvasSize");
    QTest::addColumn<bool>("keptAsIs");
    QImage whiteFirst(32, 32, QImage::Format_Mono);
    whiteFirst.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    whiteFirst.fill(0);
    whiteFirst.setPixel(6, 6, 1);
    QTest::newRow("white at index 0 loads by colour") << whiteFirst << CanvasSize << false;
    QTest::newRow("600 x 100 gives a 1-bit 600 x 2022 canvas")
        << randomPicture(QImage::Format_Mono, {600, 100}) << QSize(600, 2022) << false;
    QTest::newRow("510 x 2022 colour is taken over as it is, cells judged by blue")
        << randomPicture(QImage::Format_RGB32, CanvasSize) << CanvasSize << true;
}

void TestBitmap::opening()
{
    QFETCH(QImage, picture);
    QFETCH(QSize, canvasSize);
    QFETCH(bool, keptAsIs);
    QVERIFY(picture.save(path("picture.png")));
    ScribbleArea canvas;
    setUp(canvas);
    QVERIFY2(canvas.loadBitmap(path("picture.png")), qPrintable(canvas.errorString()));
    const QImage image = canvas.canvasImage();
    QCOMPARE(image.size(), canvasSize);
    QCOMPARE(image.format(), keptAsIs ? picture.format() : QImage::Format_Mono);
    for (int y = 0; y < canvasSize.height(); ++y) {
        for (int x = 0; x < canvasSize.width(); ++x) {
            const QRgb source = picture.valid(x, y) ? picture.pixel(x, y) : qRgb(0, 0, 0);
            if (image.pixel(x, y) != source)
                QFAIL(qPrintable(QString("seed %1: pixel (%2, %3)").arg(Seed).arg(x).arg(y)));
        }
    }
    for (int column = 0; column < DisplayColumns; ++column) {
        for (int row = 0; row < DisplayRows; ++row)
            QCOMPARE(cellIsOn(image, column, row),
                     picture.valid(interiorTopLeft(column, row)) &&
                         qBlue(picture.pixel(interiorTopLeft(column, row))) != 0);
    }
}

void TestBitmap::takenOverImageStaysEditable_data()
{
    QTest::addColumn<QImage>("picture");
    QImage indexed = randomPicture(QImage::Format_RGB32, CanvasSize)
                         .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    QTest::newRow("8-bit palette") << indexed;
    QTest::newRow("8-bit grey") << randomPicture(QImage::Format_RGB32, CanvasSize)
                                       .convertToFormat(QImage::Format_Grayscale8);
    QImage odd = randomPicture(QImage::Format_Mono, CanvasSize);
    odd.setColorTable({qRgb(200, 0, 0), qRgb(0, 90, 40)});
    QTest::newRow("1-bit with a red and green palette") << odd;
}

// Pictures in formats the painter cannot draw on faithfully become 32-bit colour, every
// colour kept; drawing and the whole-canvas commands then work on them.
void TestBitmap::takenOverImageStaysEditable()
{
    QFETCH(QImage, picture);
    QVERIFY(picture.save(path("picture.png")));
    const QImage decoded(path("picture.png"));
    ScribbleArea canvas;
    setUp(canvas);
    QVERIFY2(canvas.loadBitmap(path("picture.png")), qPrintable(canvas.errorString()));
    QCOMPARE(canvas.canvasImage().depth(), 32);
    QCOMPARE(canvas.canvasImage(), decoded.convertToFormat(canvas.canvasImage().format()));

    canvas.invertImage();
    canvas.invertImage();
    QCOMPARE(canvas.canvasImage(), decoded.convertToFormat(canvas.canvasImage().format()));
    const auto countOn = [&canvas] {
        int on = 0;
        for (int column = 0; column < DisplayColumns; ++column)
            for (int row = 0; row < DisplayRows; ++row)
                on += cellIsOn(canvas.canvasImage(), column, row);
        return on;
    };
    canvas.clearImage();
    QCOMPARE(countOn(), DisplayColumns * DisplayRows);
    canvas.fillImage();
    QCOMPARE(countOn(), 0);
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(7, 12));
    QCOMPARE(canvas.canvasImage().pixel(6, 11), qRgb(255, 255, 255));
    QCOMPARE(countOn(), 1);
}

void TestBitmap::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("unknown format") << "old.bmp" << QByteArray("nosuchformat");
    QTest::newRow("target is a folder") << "folder" << QByteArray("BMP");
    QTest::newRow("folder does not exist") << "missing/old.bmp" << QByteArray("BMP");
}

void TestBitmap::failedSaveKeepsOldFile()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, format);
    QVERIFY(QDir(dir->path()).mkpath("folder"));
    const QByteArray old("an older file that must survive");
    QVERIFY(writeFileBytes(path("old.bmp"), old));
    ScribbleArea canvas;
    setUp(canvas);
    QVERIFY(!canvas.saveBitmap(dir->filePath(target), format.constData()));
    QVERIFY(!canvas.errorString().isEmpty());
    QVERIFY(canvas.isModified());
    QCOMPARE(readFileBytes(path("old.bmp")), old);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"old.bmp"});
}

void TestBitmap::writeFailureKeepsOldFile_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("BMP from the menu") << QByteArray("BMP");
    QTest::newRow("png from the unsaved-changes prompt") << QByteArray("png");
}

void TestBitmap::writeFailureKeepsOldFile()
{
    if (!fileSizeLimitAvailable())
        QSKIP("needs a file size limit to make a write fail after opening");
    // The encoded image is far above the limit in both formats.
    QFETCH(QByteArray, format);
    const QByteArray old("an older file that must survive");
    QVERIFY(writeFileBytes(path("old.img"), old));
    ScribbleArea canvas;
    setUp(canvas);

    const bool written = runWithFileSizeLimit(
        64, [&] { return canvas.saveBitmap(path("old.img"), format.constData()); });

    QVERIFY2(!written, "a write error is a failed save");
    QVERIFY(!canvas.errorString().isEmpty());
    QVERIFY(canvas.isModified());
    QCOMPARE(readFileBytes(path("old.img")), old);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.img"});
}

static QByteArray bmpHeader(qint32 width, qint32 height, quint16 bitsPerPixel)
{
    QByteArray header(54, '\0');
    char *bytes = header.data();
    bytes[0] = 'B';
    bytes[1] = 'M';
    qToLittleEndian<quint32>(54, bytes + 10);
    qToLittleEndian<quint32>(40, bytes + 14);
    qToLittleEndian<qint32>(width, bytes + 18);
    qToLittleEndian<qint32>(height, bytes + 22);
    qToLittleEndian<quint16>(1, bytes + 26);
    qToLittleEndian<quint16>(bitsPerPixel, bytes + 28);
    return header;
}

void TestBitmap::failedOpenChangesNothing_data()
{
    QTest::addColumn<QByteArray>("contents"); // empty: no file at all
    QTest::newRow("missing file") << QByteArray();
    QTest::newRow("not an image") << QByteArray("this is not an image\n");
    QTest::newRow("beyond the allocation limit") << bmpHeader(40000, 40000, 32);
    QTest::newRow("header with no pixels") << bmpHeader(510, 2022, 24);
}

void TestBitmap::failedOpenChangesNothing()
{
    QFETCH(QByteArray, contents);
    const QString file = path("broken.bmp");
    if (!contents.isEmpty())
        QVERIFY(writeFileBytes(file, contents));
    ScribbleArea canvas;
    setUp(canvas);
    canvas.zoomIn();
    const QImage before = canvas.canvasImage();
    QVERIFY(!canvas.loadBitmap(file));
    QVERIFY(!canvas.errorString().isEmpty());
    QCOMPARE(canvas.canvasImage().cacheKey(), before.cacheKey());
    QVERIFY(canvas.isModified());
}

QTEST_MAIN(TestBitmap)
#include "tst_bitmap.moc"
