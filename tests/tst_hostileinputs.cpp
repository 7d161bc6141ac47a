// Hostile files through the real commands: broken and lying images, folders, missing files
// and folders, huge and endless boot screen files, odd encodings and line ends. None may
// crash the editor; a failure shows the warning box naming the file and changes nothing; a
// boot screen file that opens is read by the lenient rules, never loaded whole.

#include "bootscreenreader.h"
#include "dialoganswers.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "referenceformat.h"
#include "scribblearea.h"
#include "testfiles.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (24 - 8 * i));
    return bytes;
}

// A grey PNG whose header claims the given size, followed by one row of its pixels.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    const auto chunk = [](const QByteArray &type, const QByteArray &data) {
        return bigEndian(quint32(data.size())) + type + data + bigEndian(crc32(type + data));
    };
    const QByteArray header =
        bigEndian(width) + bigEndian(height) + QByteArray("\x08\x00\x00\x00\x00", 5);
    const QByteArray firstRow = qCompress(QByteArray(int(width) + 1, '\0')).mid(4); // a zlib stream
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", firstRow) +
           chunk("IEND", {});
}

QByteArray encodedGrid(const char *format)
{
    QImage grid(160, 640, QImage::Format_Mono);
    grid.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < grid.height(); ++y)
        for (int x = 0; x < grid.width(); ++x)
            grid.setPixel(x, y, (x * 7 + y * 3) % 5 == 0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    grid.save(&buffer, format);
    return bytes;
}

QByteArray pictureBytes(const QImage &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
}

// How a hostile input reaches the command.
enum class Delivery { File, Folder, Vanishing, DevZero };

} // namespace

Q_DECLARE_METATYPE(Delivery)

class tst_HostileInputs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openImage_data();
    void openImage();
    void importBootScreen_data();
    void importBootScreen();
    void writeToUnusableTarget_data();
    void writeToUnusableTarget();
    void canvasOperationsRefuseFoldersAndMissingFiles();
    void endlessDeviceReadsAsEnded();

private:
    QString placeInput(Delivery delivery, const QString &name, const QByteArray &bytes);
    void answerFileDialog(ModalDriver &driver, Delivery delivery, const QString &path);
    void trigger(const QString &text);
    QMap<QString, QByteArray> filesOnDisk() const;
    void expectWarningNaming(const ModalDriver &driver, const QString &path);

    std::unique_ptr<QTemporaryDir> scratch;
    std::unique_ptr<MainWindow> window;
    ScribbleArea *canvas = nullptr;
    QStringList dialogProblems;
    QImage pictureBefore;
    QMap<QString, QByteArray> filesBefore;
};

void tst_HostileInputs::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

// Every case starts from a drawn, modified picture whose export is on disk, so the screen
// buffer holds the picture and an import that accepts no line shows the same cells.
void tst_HostileInputs::init()
{
    scratch = std::make_unique<QTemporaryDir>();
    QVERIFY(scratch->isValid());
    QDir::setCurrent(scratch->path());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    canvas = window->findChild<ScribbleArea *>();
    QVERIFY(canvas);
    for (const QPoint &at : {QPoint(1, 1), QPoint(7, 12), QPoint(158, 638), QPoint(80, 320)})
        QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, at);
    QVERIFY(canvas->writeBootScreen(scratch->filePath(QStringLiteral("baseline.tbs"))));
    QVERIFY(canvas->isModified());
    pictureBefore = canvas->canvasImage().copy();
    filesBefore = filesOnDisk();
    dialogProblems.clear();
}

void tst_HostileInputs::cleanup()
{
    window.reset();
    scratch.reset();
}

QMap<QString, QByteArray> tst_HostileInputs::filesOnDisk() const
{
    QMap<QString, QByteArray> files;
    const QDir dir(scratch->path());
    for (const QFileInfo &info :
         dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
        files.insert(info.fileName(), info.isSymLink() ? info.symLinkTarget().toUtf8()
                                      : info.isDir()   ? QByteArray("<folder>")
                                                       : readFileBytes(info.filePath()));
    return files;
}

QString tst_HostileInputs::placeInput(Delivery delivery, const QString &name,
                                      const QByteArray &bytes)
{
    const QString path = scratch->filePath(name);
    switch (delivery) {
    case Delivery::Folder:
        QDir(scratch->path()).mkdir(name);
        break;
    case Delivery::DevZero:
        QFile::link(QStringLiteral("/dev/zero"), path);
        break;
    case Delivery::File:
    case Delivery::Vanishing:
        writeFileBytes(path, bytes);
        break;
    }
    filesBefore = filesOnDisk();
    if (delivery == Delivery::Vanishing)
        filesBefore.remove(name);
    return path;
}

void tst_HostileInputs::answerFileDialog(ModalDriver &driver, Delivery delivery,
                                         const QString &path)
{
    if (delivery != Delivery::Folder) {
        answerOpenDialog(driver, path, delivery == Delivery::Vanishing, &dialogProblems);
        return;
    }
    // Typing a folder's name goes into the folder; the dialog stays open and is cancelled.
    driver.then([this, path](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            dialogProblems << QStringLiteral("expected a file dialog");
            modal->close();
            return;
        }
        typeFileName(dialog, path);
        static_cast<QDialog *>(dialog)->accept();
        if (!dialog->isVisible() ||
            QDir(dialog->directory()).canonicalPath() != QDir(path).canonicalPath())
            dialogProblems << QStringLiteral("the dialog did not go into the folder");
        dialog->reject();
    });
}

void tst_HostileInputs::trigger(const QString &text)
{
    for (QMenu *menu : window->findChildren<QMenu *>())
        for (QAction *action : menu->actions())
            if (action->text() == text) {
                action->trigger();
                return;
            }
    QFAIL(qPrintable(QStringLiteral("no menu offers \"%1\"").arg(text)));
}

void tst_HostileInputs::expectWarningNaming(const ModalDriver &driver, const QString &path)
{
    QVERIFY2(!driver.messageTexts.isEmpty(), "no warning box was shown");
    QVERIFY2(!driver.titles.last().isEmpty(), "the warning box has no title");
    QVERIFY2(driver.messageTexts.last().contains(QFileInfo(path).fileName()),
             qPrintable(QStringLiteral("the warning \"%1\" does not name %2")
                            .arg(driver.messageTexts.last(), QFileInfo(path).fileName())));
}

void tst_HostileInputs::openImage_data()
{
    QTest::addColumn<Delivery>("delivery");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("fails");

    const QByteArray bmp = encodedGrid("BMP");
    const QByteArray png = encodedGrid("PNG");
    QByteArray oddDepthBmp = bmp;
    oddDepthBmp[28] = 7; // bits per pixel
    QByteArray badChecksumPng = png;
    badChecksumPng[18] = static_cast<char>(badChecksumPng[18] ^ 0x40); // width, CRC left as it was

    QTest::newRow("BMP cut inside its header fails")
        << Delivery::File << "cut.bmp" << bmp.left(30) << true;
    QTest::newRow("BMP with 7 bits per pixel fails")
        << Delivery::File << "depth.bmp" << oddDepthBmp << true;
    QTest::newRow("PNG cut after its header fails")
        << Delivery::File << "cut.png" << png.left(40) << true;
    QTest::newRow("PNG whose header checksum is wrong fails")
        << Delivery::File << "checksum.png" << badChecksumPng << true;
    QTest::newRow("PNG claiming 100,000 x 100,000 fails without allocating")
        << Delivery::File << "huge.png" << pngClaiming(100000, 100000) << true;
    QTest::newRow("text file named .bmp fails")
        << Delivery::File << "notes.bmp" << QByteArray("not a picture\r\n") << true;
    QTest::newRow("empty file fails") << Delivery::File << "empty.bmp" << QByteArray() << true;
    QTest::newRow("NUL bytes named .bmp fail")
        << Delivery::File << "zeros.bmp" << QByteArray(4096, '\0') << true;
    QTest::newRow("file gone once chosen fails")
        << Delivery::Vanishing << "gone.bmp" << bmp << true;
    QTest::newRow("folder is entered, not opened")
        << Delivery::Folder << "pictures.bmp" << QByteArray() << false;
    QTest::newRow("BMP cut inside its pixels: whatever decodes is taken")
        << Delivery::File << "half.bmp" << bmp.left(bmp.size() / 2) << false;
}

void tst_HostileInputs::openImage()
{
    QFETCH(Delivery, delivery);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, fails);
    const QString path = placeInput(delivery, name, bytes);
    const bool decodes = delivery == Delivery::File && !QImage(path).isNull();
    QVERIFY2(!(fails && decodes), "the toolkit decodes an input meant to fail");

    ModalDriver driver;
    driver.pressMessageBoxButton(QMessageBox::Discard); // the picture is modified
    answerFileDialog(driver, delivery, path);
    if (fails)
        driver.pressMessageBoxButton(QMessageBox::Ok);
    trigger(QStringLiteral("&Open a .BMP image"));
    QVERIFY2(driver.allAnswered() && dialogProblems.isEmpty(),
             qPrintable(driver.problems() + dialogProblems.join(QLatin1String("; "))));

    QCOMPARE(filesOnDisk(), filesBefore);
    if (decodes) {
        // Not an error: the toolkit read part of the picture, and that is what the canvas shows.
        QVERIFY(!canvas->isModified());
        QCOMPARE(driver.titles.size(), 2);
        return;
    }
    if (fails)
        expectWarningNaming(driver, path);
    QVERIFY(pictureBytes(canvas->canvasImage()) == pictureBytes(pictureBefore));
    QVERIFY(canvas->isModified());
}

void tst_HostileInputs::importBootScreen_data()
{
    QTest::addColumn<Delivery>("delivery");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");

    QByteArray utf16le("\xff\xfe", 2);
    QByteArray utf16be("\xfe\xff", 2);
    for (int i = 0; i < bootscreen::EntryCount; ++i)
        for (char c : QByteArray::number(i % 256) + "\r\n") {
            utf16le += c;
            utf16le += '\0';
            utf16be += '\0';
            utf16be += c;
        }
    QByteArray mixedNul;
    for (int i = 0; i < bootscreen::EntryCount; ++i)
        mixedNul += i % 3 == 0   ? QByteArray("\0\r\n", 3)
                    : i % 3 == 1 ? QByteArray("7\0\n", 3)
                                 : QByteArray("\0"
                                              "12\r\n",
                                              5);

    QTest::newRow("10 MB without a line end: nothing taken, a warning")
        << Delivery::File << "huge.tbs" << QByteArray(10 * 1024 * 1024, '7');
    QTest::newRow("UTF-16 LE with BOM: every line too long, a warning")
        << Delivery::File << "utf16le.tbs" << utf16le;
    QTest::newRow("UTF-16 BE with BOM: every line too long, a warning")
        << Delivery::File << "utf16be.tbs" << utf16be;
    QTest::newRow("NUL bytes read as 0 or leave entries")
        << Delivery::File << "nul.tbs" << mixedNul;
    QTest::newRow("CR-only line ends: one unended line, a warning")
        << Delivery::File << "cr.tbs" << QByteArray("255\r").repeated(512);
    QTest::newRow("a PNG imported as a boot screen")
        << Delivery::File << "picture.tbs" << encodedGrid("PNG");
    QTest::newRow("endless device behind x.tbs reads as ended, a warning")
        << Delivery::DevZero << "x.tbs" << QByteArray();
    QTest::newRow("file gone once chosen: warning, nothing read")
        << Delivery::Vanishing << "gone.tbs" << QByteArray("255\r\n").repeated(512);
    QTest::newRow("folder is entered, not read")
        << Delivery::Folder << "screens.tbs" << QByteArray();
}

void tst_HostileInputs::importBootScreen()
{
    QFETCH(Delivery, delivery);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString path = placeInput(delivery, name, bytes);
    const bootscreen::ScreenBuffer bufferBefore = canvas->screenBuffer();
    // What the reading rules make of the first bytes (an endless device is all NUL bytes).
    bootscreen::ScreenBuffer expected = bufferBefore;
    const QByteArray seen =
        delivery == Delivery::DevZero ? QByteArray(bootscreen::ReadByteCap + 1, '\0') : bytes;
    // A file from which no line is taken holds no boot screen: the import fails with a warning.
    const bool nothingTaken = reference::readInto(seen, expected, bootscreen::ReadByteCap) == 0;
    const bool fails = delivery == Delivery::Vanishing || nothingTaken;

    ModalDriver driver;
    driver.pressMessageBoxButton(QMessageBox::Discard);
    answerFileDialog(driver, delivery, path);
    if (fails && delivery != Delivery::Folder)
        driver.pressMessageBoxButton(QMessageBox::Ok);
    trigger(QStringLiteral("&Import Boot Screen File"));
    QVERIFY2(driver.allAnswered() && dialogProblems.isEmpty(),
             qPrintable(driver.problems() + dialogProblems.join(QLatin1String("; "))));
    QCOMPARE(filesOnDisk(), filesBefore);

    if (fails || delivery == Delivery::Folder) {
        if (fails && delivery != Delivery::Folder)
            expectWarningNaming(driver, path);
        QVERIFY(canvas->screenBuffer() == bufferBefore);
        QVERIFY(pictureBytes(canvas->canvasImage()) == pictureBytes(pictureBefore));
        QVERIFY(canvas->isModified());
        return;
    }
    // Lines were taken, so this is no failure: no warning, and the picture is what the reading
    // rules make of the file.
    QCOMPARE(driver.titles.size(), 2);
    QVERIFY(canvas->screenBuffer() == expected);
    const reference::Cells cells = reference::unpack(expected);
    for (int column = 0; column < reference::Columns; ++column)
        for (int row = 0; row < reference::Rows; ++row)
            QVERIFY2(cellIsWhite(canvas->canvasImage(), column, row) == cells[column][row],
                     qPrintable(QStringLiteral("column %1 row %2").arg(column).arg(row)));
    QVERIFY(!canvas->isModified());
}

void tst_HostileInputs::writeToUnusableTarget_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("target");

    QTest::newRow("export into a missing folder") << "&Export Boot Screen File"
                                                  << "missing/x.tbs";
    QTest::newRow("BMP save into a missing folder") << "&Save image in .BMP format"
                                                    << "missing/x.bmp";
    QTest::newRow("export onto a folder enters it") << "&Export Boot Screen File"
                                                    << "folder.tbs/";
    QTest::newRow("BMP save onto a folder enters it") << "&Save image in .BMP format"
                                                      << "folder.bmp/";
}

void tst_HostileInputs::writeToUnusableTarget()
{
    QFETCH(QString, action);
    QFETCH(QString, target);
    const bool folder = target.endsWith(QLatin1Char('/'));
    if (folder)
        target.chop(1);
    const QString path =
        folder ? placeInput(Delivery::Folder, target, {}) : scratch->filePath(target);
    const bootscreen::ScreenBuffer bufferBefore = canvas->screenBuffer();

    ModalDriver driver;
    if (folder) {
        answerFileDialog(driver, Delivery::Folder, path);
    } else {
        answerSaveDialog(driver, path, true, &dialogProblems);
        driver.pressMessageBoxButton(QMessageBox::Ok);
    }
    trigger(action);
    QVERIFY2(driver.allAnswered() && dialogProblems.isEmpty(),
             qPrintable(driver.problems() + dialogProblems.join(QLatin1String("; "))));
    if (!folder)
        expectWarningNaming(driver, path);
    QCOMPARE(filesOnDisk(), filesBefore);
    if (folder)
        QVERIFY(QDir(path).isEmpty());
    QVERIFY(pictureBytes(canvas->canvasImage()) == pictureBytes(pictureBefore));
    QVERIFY(canvas->screenBuffer() == bufferBefore); // the baseline export packed this picture
    QVERIFY(canvas->isModified());
}

void tst_HostileInputs::canvasOperationsRefuseFoldersAndMissingFiles()
{
    const QString folder = placeInput(Delivery::Folder, QStringLiteral("x.tbs"), {});
    const QString missing = scratch->filePath(QStringLiteral("missing.bmp"));
    const bootscreen::ScreenBuffer bufferBefore = canvas->screenBuffer();

    QVERIFY(!canvas->loadBitmap(folder));
    QVERIFY(!canvas->loadBitmap(missing));
    QVERIFY(!canvas->readBootScreen(folder));
    QVERIFY(!canvas->readBootScreen(missing));
    QVERIFY(!canvas->writeBootScreen(folder));
    QVERIFY(!canvas->saveBitmap(folder, "BMP"));
    QVERIFY(!canvas->errorString().isEmpty());

    QVERIFY(canvas->screenBuffer() == bufferBefore);
    QVERIFY(pictureBytes(canvas->canvasImage()) == pictureBytes(pictureBefore));
    QVERIFY(canvas->isModified());
    QCOMPARE(filesOnDisk(), filesBefore);
}

void tst_HostileInputs::endlessDeviceReadsAsEnded()
{
    // Read directly: the reader stops at its cap as if the file had ended there, having taken
    // no line, so the read fails.
    const bootscreen::ScreenBuffer bufferBefore = canvas->screenBuffer();
    QVERIFY(!canvas->readBootScreen(QStringLiteral("/dev/zero")));
    QVERIFY(canvas->screenBuffer() == bufferBefore);
    QVERIFY(pictureBytes(canvas->canvasImage()) == pictureBytes(pictureBefore));
}

QTEST_MAIN(tst_HostileInputs)
#include "tst_hostileinputs.moc"
