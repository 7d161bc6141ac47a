#include "bootscreenreader.h"
#include "bootscreenwriter.h"
#include "canvasgeometry.h"
#include "filewording.h"
#include "randompicture.h"
#include "scribblearea.h"
#include "tbsrun.h"
#include "testfiles.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

using Run = TbsRun;

Run tbs(const QStringList &arguments, const QByteArray &input = {})
{
    return runTbsWith(arguments, input);
}

QString describe(const Run &run)
{
    return QStringLiteral("exit %1, out: %2, err: %3")
        .arg(run.status)
        .arg(QString::fromUtf8(run.out.left(400)), QString::fromUtf8(run.err));
}

// A picture of random colours (seed 7) in an image format.
QByteArray encodedNoise(const char *format, const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, random.generate() | 0xff000000u);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

bootscreen::ScreenBuffer randomScreen(quint32 seed)
{
    QRandomGenerator random(seed);
    bootscreen::ScreenBuffer screen;
    for (std::int32_t &entry : screen)
        entry = std::int32_t(random.bounded(256));
    return screen;
}

bootscreen::DisplayPicture pictureOf(const QByteArray &tbs)
{
    bootscreen::ScreenBuffer screen{};
    bootscreen::readScreen(std::string_view(tbs.constData(), size_t(tbs.size())), screen);
    return bootscreen::unpackPicture(screen);
}

QByteArray screenBytes(const bootscreen::DisplayPicture &picture)
{
    return QByteArray::fromStdString(bootscreen::formatScreen(bootscreen::packPicture(picture)));
}

// The rows of a picture as '#' (lit) and '.', one line each, as the golden screens hold them.
QByteArray rowsOf(const bootscreen::DisplayPicture &picture, int top = 0, int bottom = 127)
{
    QByteArray rows;
    for (int row = top; row <= bottom; ++row) {
        for (int column = 0; column < bootscreen::DisplayColumns; ++column)
            rows += picture.isLit(column, row) ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

// A BMP file with its resolution fields zeroed. The editor's bitmap records the resolution of
// the screen it ran on, tbs always 100 dots per inch (it has no screen).
QByteArray withoutResolution(QByteArray bmp)
{
    constexpr int ResolutionOffset = 14 + 24; // in the BITMAPINFOHEADER, after the file header
    if (bmp.size() >= ResolutionOffset + 8)
        bmp.replace(ResolutionOffset, 8, QByteArray(8, '\0'));
    return bmp;
}

// The link of an all-dark screen, as tbs link prints it without --base.
QString darkLink()
{
    return QStringLiteral("#screen=") + QString(683, QLatin1Char('A'));
}

// A canvas laid out as the editor's, as a user would see it.
std::unique_ptr<ScribbleArea> shownCanvas()
{
    auto canvas = std::make_unique<ScribbleArea>();
    canvas->resize(canvasgeometry::CanvasSize);
    canvas->show();
    return QTest::qWaitForWindowExposed(canvas.get()) ? std::move(canvas) : nullptr;
}

} // namespace

class TestTbs : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void roundTripsKeepEveryBit_data();
    void roundTripsKeepEveryBit();
    void editorBitmapsConvertAsTheEditorExports_data();
    void editorBitmapsConvertAsTheEditorExports();

    void checkReportsWhatTheReaderMakesOfALine_data();
    void checkReportsWhatTheReaderMakesOfALine();

    void failuresWriteNothing_data();
    void failuresWriteNothing();
    void textFailuresWriteNothing_data();
    void textFailuresWriteNothing();
    void textSetsTheGoldenScreens();
    void sameScreenEitherWay_data();
    void sameScreenEitherWay();
    void composedScreenChangesOnlyTheArea();
    void everyListedFontSetsText();
    void oneBadInputDoesNotStopTheOthers();
    void conversionNotes_data();
    void conversionNotes();
    void compareSheet_data();
    void compareSheet();
    void largePhotosAreDecodedReduced_data();
    void largePhotosAreDecodedReduced();
    void thumbnailSize_data();
    void thumbnailSize();
    void showDrawsTheScreenInAFrame_data();
    void showDrawsTheScreenInAFrame();
    void linksHoldTheScreenByteForByte_data();
    void linksHoldTheScreenByteForByte();
    void linksIntoAFolderAreNumbered();

    void savesIntoAFolderThatTakesNoNewFile_data();
    void savesIntoAFolderThatTakesNoNewFile();
    void failedStandardOutputIsAnError_data();
    void failedStandardOutputIsAnError();
    void picturesFromImagePlugins_data();
    void picturesFromImagePlugins();
    void builtProgramRunsWithoutADisplay();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    void expectNothingWritten(QStringList arguments, const QByteArray &standardInput, int status,
                              const QString &error);
    std::unique_ptr<QTemporaryDir> dir;
};

void TestTbs::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestTbs::roundTripsKeepEveryBit_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QStringList>("via"); // arguments that write the intermediate file

    QTest::newRow("tbs -> png -> tbs") << 11u << QStringList{"middle.png"};
    QTest::newRow("tbs -> png at scale 5 -> tbs")
        << 12u << QStringList{"middle.png", "--scale", "5"};
    QTest::newRow("tbs -> pbm -> tbs") << 13u << QStringList{"middle.pbm"};
    QTest::newRow("tbs -> editor bmp -> tbs") << 14u << QStringList{"middle.bmp"};
    QTest::newRow("tbs -> stdout, format png -> tbs") << 15u << QStringList{"-", "--format", "png"};
}

void TestTbs::roundTripsKeepEveryBit()
{
    QFETCH(quint32, seed);
    QFETCH(QStringList, via);

    const QByteArray original =
        QByteArray::fromStdString(bootscreen::formatScreen(randomScreen(seed)));
    QVERIFY(writeFileBytes(path("in.tbs"), original));
    const QString middle = via.first() == QLatin1String("-") ? via.first() : path(via.first());
    const Run out = tbs(QStringList{"convert", path("in.tbs"), "-o", middle} + via.mid(1));
    QVERIFY2(out.status == 0, qPrintable(describe(out)));
    const Run back = middle == QLatin1String("-") ? tbs({"convert", "-", "-o", "-"}, out.out)
                                                  : tbs({"convert", middle, "-o", "-"});
    QVERIFY2(back.status == 0, qPrintable(describe(back)));
    QVERIFY2(back.out == original, qPrintable(QStringLiteral("seed %1").arg(seed)));
}

void TestTbs::editorBitmapsConvertAsTheEditorExports_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<RandomPixels>("pixels");
    QTest::addColumn<bool>("isEditorBitmap");

    // Random pixels everywhere: borders and disagreeing interiors, colours near the middle.
    QTest::newRow("1-bit picture") << 21u << RandomPixels::BlackWhite << true;
    QTest::newRow("colour picture: converted like any picture")
        << 22u << RandomPixels::CellColours << false;
    QTest::newRow("translucent picture: converted like any picture")
        << 23u << RandomPixels::Translucent << false;
}

// A two-colour 160 x 640 picture, opened in the editor and exported, gives the file the tool
// makes of it; any other picture of that size is converted, options and all. The BMP the editor
// saves gives the editor's file either way, and the BMP the tool writes is the editor's, byte
// for byte but for the resolution, once that file is imported on a fresh canvas.
void TestTbs::editorBitmapsConvertAsTheEditorExports()
{
    QFETCH(quint32, seed);
    QFETCH(RandomPixels, pixels);
    QFETCH(bool, isEditorBitmap);

    QVERIFY(randomPicture(canvasgeometry::GridSize, pixels, seed).save(path("picture.png")));
    const std::unique_ptr<ScribbleArea> editor = shownCanvas();
    QVERIFY(editor && editor->loadBitmap(path("picture.png")));
    QVERIFY(editor->writeBootScreen(path("editor.tbs")));
    QVERIFY(editor->saveBitmap(path("editor.bmp"), "BMP"));
    const QByteArray exported = readFileBytes(path("editor.tbs"));

    const Run picture = tbs({"convert", path("picture.png"), "-o", "-"});
    const Run turned = tbs({"convert", path("picture.png"), "--rotate", "180", "-o", "-"});
    QVERIFY2(picture.status == 0 && (picture.out == exported) == isEditorBitmap &&
                 (turned.out == picture.out) == isEditorBitmap,
             qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(describe(picture))));
    const Run bitmap = tbs({"convert", path("editor.bmp"), "-o", "-"});
    QVERIFY2(bitmap.status == 0 && bitmap.out == exported,
             qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(describe(bitmap))));

    const std::unique_ptr<ScribbleArea> fresh = shownCanvas();
    QVERIFY(fresh && fresh->readBootScreen(path("editor.tbs")));
    fresh->unpackScreen();
    QVERIFY(fresh->saveBitmap(path("fresh.bmp"), "BMP"));
    const Run bmp = tbs({"convert", path("editor.tbs"), "-o", path("tool.bmp")});
    QVERIFY2(bmp.status == 0, qPrintable(describe(bmp)));
    QVERIFY(withoutResolution(readFileBytes(path("tool.bmp"))) ==
            withoutResolution(readFileBytes(path("fresh.bmp"))));
}

void TestTbs::checkReportsWhatTheReaderMakesOfALine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("reports"); // "LINE: words" each report must hold, in order

    const QByteArray canonical =
        QByteArray::fromStdString(bootscreen::formatScreen(randomScreen(31)));
    auto withLine3 = [](const QByteArray &line) {
        return QByteArray("0\r\n").repeated(2) + line + QByteArray("0\r\n").repeated(509);
    };
    QTest::newRow("as the editor writes it") << canonical << 0 << QStringList();
    QTest::newRow("LF line ends") << QByteArray("0\n").repeated(512) << 1
                                  << QStringList{"1-512: LF without CR"};
    QTest::newRow("leading zeros")
        << withLine3("007\r\n") << 1 << QStringList{"3: '007' is read as 7"};
    QTest::newRow("plus sign") << withLine3("+7\r\n") << 1 << QStringList{"3: '+7' is read as 7"};
    QTest::newRow("minus sign keeps the low byte")
        << withLine3("-1\r\n") << 1
        << QStringList{"3: '-1' has a minus sign: read as -1, the low byte 255"};
    QTest::newRow("above 255 keeps the low byte")
        << withLine3("256\r\n") << 1 << QStringList{"3: '256' is above 255: the low byte 0"};
    QTest::newRow("trailing blank reads as 0")
        << withLine3("7 \r\n") << 1 << QStringList{"3: '7 ' is not a number: read as 0"};
    QTest::newRow("bare CR inside a line")
        << withLine3("1\r2\r\n") << 1 << QStringList{"3: bare CR", "3: '1\\r2' is not a number"};
    QTest::newRow("empty line keeps its entry")
        << withLine3("\r\n") << 1 << QStringList{"3: empty line: skipped, entry 2 keeps its value"};
    QTest::newRow("long line keeps its entry")
        << withLine3("1000\r\n") << 1
        << QStringList{"3: line of 4 characters (at most 3 are read): skipped"};
    QTest::newRow("no final line end")
        << QByteArray("0\r\n").repeated(511) + "0" << 1
        << QStringList{"512: the last line has no line end: skipped, entry 511"};
    QTest::newRow("lines past 512") << QByteArray("0\r\n").repeated(600) << 1
                                    << QStringList{"513: text after line 512 is not read"};
    QTest::newRow("missing lines")
        << QByteArray("0\r\n").repeated(100) << 1
        << QStringList{"101: the file ends after 100 of 512 lines: entries 100 to 511"};
    QTest::newRow("CR-only line ends: nothing taken")
        << QByteArray("0\r").repeated(512) << 2
        << QStringList{"1: the last line has no line end", "1: bare CR"};
    QTest::newRow("empty file: nothing taken")
        << QByteArray() << 2 << QStringList{"1: the file ends after 0 of 512 lines"};
}

void TestTbs::checkReportsWhatTheReaderMakesOfALine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(QStringList, reports);

    QVERIFY(writeFileBytes(path("screen.tbs"), bytes));
    const Run run = tbs({"check", path("screen.tbs")});
    QVERIFY2(run.status == status, qPrintable(describe(run)));
    const QStringList printed =
        QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    int at = 0;
    for (const QString &report : reports) {
        const QString line =
            path("screen.tbs") + QLatin1Char(':') + report.section(QLatin1Char(':'), 0, 0);
        while (at < printed.size() &&
               !(printed[at].startsWith(line + QLatin1Char(':')) &&
                 printed[at].contains(report.section(QLatin1String(": "), 1))))
            ++at;
        QVERIFY2(at < printed.size(), qPrintable(QStringLiteral("no report \"%1\" in:\n%2")
                                                     .arg(report, QString::fromUtf8(run.out))));
    }
    QCOMPARE(run.err.isEmpty(), status != 2);
    QCOMPARE(tbs({"check", "--quiet", path("screen.tbs")}).status, status);
    QVERIFY(tbs({"check", "-q", path("screen.tbs")}).out.isEmpty());
}

// A failed run leaves an existing output as it was and creates no file, and says why in one
// line. "%1" in the arguments and the error is the test's folder.
void TestTbs::expectNothingWritten(QStringList arguments, const QByteArray &standardInput,
                                   int status, const QString &error)
{
    QVERIFY(writeFileBytes(path("out.tbs"), "old contents\n"));
    const QStringList before = QDir(dir->path()).entryList(QDir::Files);
    for (QString &argument : arguments)
        argument = argument.arg(dir->path());
    const Run run = tbs(arguments, standardInput);
    QVERIFY2(run.status == status, qPrintable(describe(run)));
    QVERIFY2(run.err.count('\n') == 1 &&
                 QString::fromUtf8(run.err).contains(error.arg(dir->path())),
             qPrintable(describe(run)));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), before);
    QCOMPARE(readFileBytes(path("out.tbs")), QByteArray("old contents\n"));
}

void TestTbs::failuresWriteNothing_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QByteArray>("inputBytes"); // not written when empty
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");

    // A PNG that claims 100000 x 100000 pixels, with one small compressed chunk.
    const QByteArray hugeHeader =
        QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000186a0000186a00806000000a8520bc800"
                            "00001149444154789c63601805a360140c77000003e80001b3a6d346");
    const QByteArray good = QByteArray::fromStdString(bootscreen::formatScreen(randomScreen(41)));
    const QStringList none;
    QTest::newRow("missing input") << "absent.png" << QByteArray() << none << "out.tbs" << 1
                                   << "tbs: %1/absent.png: No such file or directory";
    QTest::newRow("neither image nor boot screen")
        << "notes.txt" << QByteArray("no line end here") << none << "out.tbs" << 1
        << "neither an image nor a boot screen file";
    QTest::newRow("broken PNG") << "broken.png" << hugeHeader.left(20) << none << "out.tbs" << 1
                                << "not a readable image";
    QTest::newRow("PNG beyond the reader's allocation limit")
        << "huge.png" << hugeHeader << none << "out.tbs" << 1 << "too large: 100000 x 100000";
    QTest::newRow(".tbs with no line taken") << "empty.tbs" << QByteArray("1234\r\n") << none
                                             << "out.tbs" << 1 << "not a boot screen file";
    QTest::newRow("output folder missing") << "in.tbs" << good << none << "missing/out.tbs" << 1
                                           << "tbs: %1/missing/out.tbs: cannot write: ";
    QTest::newRow("unknown output format")
        << "in.tbs" << good << none << "out.xyz" << 2 << "tbs convert: Cannot write 'xyz' files.";
    QTest::newRow("bad option value") << "in.tbs" << good << QStringList{"--dither", "best"}
                                      << "out.tbs" << 2 << "--dither takes auto, floyd-steinberg";
    QTest::newRow("threshold neither auto nor a level")
        << "in.tbs" << good << QStringList{"--threshold", "256"} << "out.tbs" << 2
        << "--threshold takes auto or a whole number from 0 to 255, not '256'.";
    QTest::newRow("levels neither auto nor none")
        << "in.tbs" << good << QStringList{"--levels", "full"} << "out.tbs" << 2
        << "--levels takes auto, none, not 'full'.";
    QTest::newRow("brightness out of range")
        << "in.tbs" << good << QStringList{"--brightness", "101"} << "out.tbs" << 2
        << "--brightness takes a whole number from -100 to 100, not '101'.";
    QTest::newRow("contrast not a number") << "in.tbs" << good << QStringList{"--contrast", "x"}
                                           << "out.tbs" << 2 << "--contrast takes a whole number";
    QTest::newRow("gamma out of range")
        << "in.tbs" << good << QStringList{"--gamma", "0.1"} << "out.tbs" << 2
        << "--gamma takes a number from 0.2 to 5, not '0.1'.";
    QTest::newRow("unknown option") << "in.tbs" << good << QStringList{"--frobnicate"} << "out.tbs"
                                    << 2 << "Unknown option 'frobnicate'";
    QTest::newRow("several inputs, output not a folder")
        << "in.tbs" << good << QStringList{"%1/in.tbs"} << "out.tbs" << 2
        << "With several inputs, OUTPUT must be an existing folder.";
    QTest::newRow("--area past the display's edge")
        << "in.tbs" << good << QStringList{"--area", "16,0,17,128"} << "out.tbs" << 2
        << "--area takes X,Y,W,H, a rectangle of at least one pixel inside the 32 x 128 display, "
           "not '16,0,17,128'.";
    QTest::newRow("--crop of no width")
        << "in.tbs" << good << QStringList{"--crop", "1,2,0,4"} << "out.tbs" << 2
        << "--crop takes X,Y,W,H, a rectangle of at least one pixel in the picture's own pixels, "
           "not '1,2,0,4'.";
    QTest::newRow("--over a screen that is not there")
        << "in.tbs" << good << QStringList{"--over", "%1/absent.tbs"} << "out.tbs" << 1
        << "tbs: %1/absent.tbs: No such file or directory";

    const QByteArray logo = encodedNoise("PNG", QSize(64, 64));
    const QString replaces = QStringLiteral(
        "tbs: %1/logo.png: the output would replace this input; choose another name");
    QTest::newRow("--crop reaching outside the picture")
        << "logo.png" << logo << QStringList{"--crop", "10,0,60,30"} << "out.tbs" << 1
        << "tbs: %1/logo.png: --crop 10,0,60,30 reaches outside the picture, which is 64 x 64 "
           "pixels";
    QTest::newRow("output is the input")
        << "logo.png" << logo << none << "logo.png" << 1 << replaces;
    QTest::newRow("output is the input, spelled otherwise")
        << "logo.png" << logo << none << "./logo.png" << 1 << replaces;
    QTest::newRow("batch into the inputs' own folder")
        << "logo.png" << logo << QStringList{"--format", "png"} << "." << 1 << replaces;
    QTest::newRow("--format contradicts the extension")
        << "in.tbs" << good << QStringList{"--format", "png"} << "s.tbs" << 2
        << "--format png does not match OUTPUT's extension .tbs.";
    QTest::newRow("--scale for a boot screen")
        << "in.tbs" << good << QStringList{"--scale", "2"} << "out.tbs" << 2
        << "--scale applies to image outputs such as .png, not to .tbs.";
    QTest::newRow("--scale for the editor's bitmap")
        << "in.tbs" << good << QStringList{"--scale", "3"} << "out.bmp" << 2
        << "--scale applies to image outputs such as .png, not to .bmp.";
    QTest::newRow("truncated JPEG")
        << "cut.jpg" << encodedNoise("JPEG", QSize(400, 400)).left(3000) << none << "out.tbs" << 1
        << "tbs: %1/cut.jpg: the picture is damaged or incomplete";
    QTest::newRow("picture format without a plug-in")
        << "photo.avif"
        << QByteArray("\0\0\0\x1c"
                      "ftypavif",
                      12) +
               QByteArray(200, 'x')
        << none << "out.tbs" << 1
        << "AVIF pictures cannot be read here: the image format plug-in is not "
           "installed (installed: ";
}

void TestTbs::failuresWriteNothing()
{
    QFETCH(QString, input);
    QFETCH(QByteArray, inputBytes);
    QFETCH(QStringList, options);
    QFETCH(QString, output);
    QFETCH(int, status);
    QFETCH(QString, error);

    if (!inputBytes.isEmpty())
        QVERIFY(writeFileBytes(path(input), inputBytes));
    expectNothingWritten(QStringList{"convert", path(input)} + options +
                             QStringList{"-o", path(output)},
                         {}, status, error);
}

void TestTbs::textFailuresWriteNothing_data()
{
    QTest::addColumn<QStringList>("arguments"); // after "text", before "-o"
    QTest::addColumn<QByteArray>("input");      // standard input
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");

    const QByteArray none;
    QTest::newRow("a character no font has") << QStringList{"Zoë", "Жанна"} << none << "out.tbs"
                                             << 1 << "tbs: no bundled font has 'Ж' (U+0416)";
    QTest::newRow("too long for the smallest font")
        << QStringList{QString(33, QLatin1Char('x'))} << none << "out.tbs" << 1
        << "tbs: the text does not fit: in the smallest font, fixed-4x6, it is 132 x 6 pixels, "
           "and the area holds 128 x 32 for text turned by 90 degrees";
    QTest::newRow("too long for the font named")
        << QStringList{"HELLO", "--font", "spleen-8x16", "--rotate", "0"} << none << "out.tbs" << 1
        << "in spleen-8x16 it is 40 x 16 pixels, and the area holds 32 x 128";
    QTest::newRow("too long for the area")
        << QStringList{"ANNA BERG", "--area", "0,96,32,32"} << none << "out.tbs" << 1
        << "it is 36 x 6 pixels, and the area holds 32 x 32";
    QTest::newRow("a word too long for the area even wrapped")
        << QStringList{"ZOË MÜLLERSSON", "--wrap", "--area", "0,96,32,32"} << none << "out.tbs" << 1
        << "in the smallest font, fixed-4x6, even wrapped, it is 40 x 13 pixels, and the area "
           "holds 32 x 32";
    QTest::newRow("standard input not UTF-8")
        << QStringList{"-"} << QByteArray("ok\nM\xfcller\n") << "out.tbs" << 1
        << "tbs: line 2 is not valid UTF-8 (at byte 2)";
    QTest::newRow("standard input empty")
        << QStringList{"-"} << none << "out.tbs" << 1 << "tbs: no text: give at least one line";
    QTest::newRow("standard input beyond a megabyte")
        << QStringList{"-"} << QByteArray(1100 * 1024, 'x') << "out.tbs" << 1
        << "tbs: standard input: too large: more than 1 MB of text";
    QTest::newRow("unknown font") << QStringList{"A", "--font", "comic"} << none << "out.tbs" << 2
                                  << "--font takes auto, fixed-4x6, fixed-5x7, fixed-5x8, "
                                     "fixed-6x10, spleen-6x12, fixed-7x14, spleen-8x16, not "
                                     "'comic'.";
    QTest::newRow("a half turn") << QStringList{"A", "--rotate", "180"} << none << "out.tbs" << 2
                                 << "--rotate takes 0, 90, 270, auto, not '180'.";
    QTest::newRow("unknown alignment")
        << QStringList{"A", "--align", "justify"} << none << "out.tbs" << 2
        << "--align takes left, center, right, not 'justify'.";
    QTest::newRow("an empty area") << QStringList{"A", "--area", "0,0,0,5"} << none << "out.tbs"
                                   << 2 << "--area takes X,Y,W,H";
    QTest::newRow("an area of three numbers")
        << QStringList{"A", "--area", "1,2,3"} << none << "out.tbs" << 2 << "--area takes X,Y,W,H";
    QTest::newRow("an area below the display") << QStringList{"A", "--area", "0,100,32,29"} << none
                                               << "out.tbs" << 2 << "--area takes X,Y,W,H";
    QTest::newRow("--over a screen that is not there")
        << QStringList{"A", "--over", "%1/absent.tbs"} << none << "out.tbs" << 1
        << "tbs: %1/absent.tbs: No such file or directory";
    QTest::newRow("standard input twice")
        << QStringList{"-", "--over", "-"} << QByteArray("A\n") << "out.tbs" << 2
        << "Standard input can be read only once.";
    QTest::newRow("no text") << QStringList{} << none << "out.tbs" << 2 << "No TEXT given.";
    QTest::newRow("a folder as output")
        << QStringList{"A"} << none << "." << 2 << "OUTPUT is a folder; name the file to write.";
}

// As for convert: the existing output stays as it was, no file appears, one line says why.
void TestTbs::textFailuresWriteNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, output);
    QFETCH(int, status);
    QFETCH(QString, error);

    expectNothingWritten(QStringList{"text"} + arguments + QStringList{"-o", path(output)}, input,
                         status, error);
}

// The core's golden screens (tests/core/data/text), each set again through the tool: the keys
// of a file's header are the tool's options.
void TestTbs::textSetsTheGoldenScreens()
{
    const QByteArray lit = screenBytes(bootscreen::DisplayPicture().inverted());
    QVERIFY(writeFileBytes(path("lit.tbs"), lit));
    QDirIterator files(QStringLiteral(TARROW_CORE_TEST_DATA "/text"), {"*.screen"});
    int count = 0;
    while (files.hasNext()) {
        const QString file = files.next();
        QStringList arguments{"text"};
        QByteArray expected;
        for (const QByteArray &line : readFileBytes(file).split('\n')) {
            const int colon = line.indexOf(": ");
            const QString key = QString::fromUtf8(line.left(colon));
            const QString value = QString::fromUtf8(line.mid(colon + 2));
            if (colon < 0 && !line.isEmpty())
                expected += line + '\n';
            else if (key == QLatin1String("text"))
                arguments << value;
            else if ((key == QLatin1String("invert") || key == QLatin1String("wrap")) &&
                     value == QLatin1String("yes"))
                arguments << QLatin1String("--") + key;
            else if (key == QLatin1String("base") && value == QLatin1String("lit"))
                arguments << "--over" << path("lit.tbs");
            else if (key != QLatin1String("about") && colon > 0 && key != QLatin1String("base") &&
                     key != QLatin1String("invert") && key != QLatin1String("wrap"))
                arguments << QLatin1String("--") + key << value;
        }
        const Run run = tbs(arguments + QStringList{"-o", "-"});
        QVERIFY2(run.status == 0, qPrintable(file + ": " + describe(run)));
        QCOMPARE(rowsOf(pictureOf(run.out)), expected);
        ++count;
    }
    QVERIFY(count >= 5);
}

void TestTbs::sameScreenEitherWay_data()
{
    QTest::addColumn<QStringList>("one");
    QTest::addColumn<QByteArray>("input"); // standard input of the first
    QTest::addColumn<QStringList>("other");

    QTest::newRow("lines from standard input, with CR LF and a byte order mark")
        << QStringList{"text", "-"} << QByteArray("\xEF\xBB\xBFIF FOUND\r\nCALL\r\n")
        << QStringList{"text", "IF FOUND", "CALL"};
    QTest::newRow("standard input among the lines")
        << QStringList{"text", "A", "-", "D"} << QByteArray("B\n\nC")
        << QStringList{"text", "A", "B", "", "C", "D"};
    QTest::newRow("auto is the largest font that fits, turned")
        << QStringList{"text", "HELLO"} << QByteArray()
        << QStringList{"text", "HELLO", "--font", "spleen-8x16", "--rotate", "90"};
    QTest::newRow("auto stays upright when turning allows no larger font")
        << QStringList{"text", "ANNA", "--area", "0,96,32,32"} << QByteArray()
        << QStringList{"text",     "ANNA", "--area", "0,96,32,32",
                       "--rotate", "0",    "--font", "spleen-8x16"};
    QTest::newRow("a name wrapped is its words as lines in the largest font they fit")
        << QStringList{"text", "ZOË MÜLLER", "--wrap", "--area", "0,96,32,32"} << QByteArray()
        << QStringList{"text",     "ZOË", "MÜLLER", "--area",   "0,96,32,32",
                       "--rotate", "0",   "--font", "fixed-5x8"};
    QTest::newRow("text on the whole display as its area")
        << QStringList{"text", "Zoë", "--area", "0,0,32,128"} << QByteArray()
        << QStringList{"text", "Zoë"};
    QTest::newRow("text over a blank screen")
        << QStringList{"text", "Zoë", "--over", "%1/blank.tbs"} << QByteArray()
        << QStringList{"text", "Zoë"};
    QTest::newRow("a picture on the whole display as its area")
        << QStringList{"convert", "%1/noise.png", "--area", "0,0,32,128"} << QByteArray()
        << QStringList{"convert", "%1/noise.png"};
    QTest::newRow("a picture read from standard input over a screen")
        << QStringList{"convert", "-", "--over", "%1/blank.tbs", "--area", "4,8,20,30"}
        << encodedNoise("PNG", QSize(40, 60))
        << QStringList{"convert", "%1/noise.png", "--area", "4,8,20,30"};
    QTest::newRow("a cropped picture is the picture of that rectangle")
        << QStringList{"convert", "%1/noise.png", "--crop", "7,11,25,40", "--rotate", "90"}
        << QByteArray() << QStringList{"convert", "%1/part.png", "--rotate", "90"};
    QTest::newRow("a link is read as its screen: inverted, not cropped")
        << QStringList{"convert", darkLink(), "--invert", "--crop", "0,0,1,1"} << QByteArray()
        << QStringList{"convert", "%1/blank.tbs", "--invert"};
    QTest::newRow("text over a link")
        << QStringList{"text", "Zoë", "--over", "https://tarrow.example/" + darkLink()}
        << QByteArray() << QStringList{"text", "Zoë"};
    QTest::newRow("a boot screen is not cropped")
        << QStringList{"convert", "%1/blank.tbs", "--invert", "--crop", "0,0,1,1"} << QByteArray()
        << QStringList{"convert", "%1/blank.tbs", "--invert"};
}

// Two ways to the same screen give the same bytes.
void TestTbs::sameScreenEitherWay()
{
    QFETCH(QStringList, one);
    QFETCH(QByteArray, input);
    QFETCH(QStringList, other);
    QVERIFY(writeFileBytes(path("blank.tbs"), screenBytes({})));
    QVERIFY(writeFileBytes(path("noise.png"), encodedNoise("PNG", QSize(40, 60))));
    QVERIFY(QImage(path("noise.png")).copy(7, 11, 25, 40).save(path("part.png")));
    for (QStringList *arguments : {&one, &other}) {
        for (QString &argument : *arguments)
            argument = argument.arg(dir->path());
        *arguments << "-o"
                   << "-";
    }
    const Run first = tbs(one, input);
    const Run second = tbs(other);
    QVERIFY2(first.status == 0, qPrintable(describe(first)));
    QVERIFY2(second.status == 0, qPrintable(describe(second)));
    QVERIFY(pictureOf(first.out).litCount() > 0);
    QCOMPARE(rowsOf(pictureOf(first.out)), rowsOf(pictureOf(second.out)));
}

// A logo in the top 96 rows, then a name below it over the same file: each step changes its
// area alone, and the second may replace the screen it starts from.
void TestTbs::composedScreenChangesOnlyTheArea()
{
    QVERIFY(writeFileBytes(path("logo.png"), encodedNoise("PNG", QSize(64, 64))));
    const Run logo =
        tbs({"convert", path("logo.png"), "--area", "0,0,32,96", "-o", path("screen.tbs")});
    QVERIFY2(logo.status == 0, qPrintable(describe(logo)));
    const bootscreen::DisplayPicture top = pictureOf(readFileBytes(path("screen.tbs")));
    QVERIFY(top.litCount() > 0);
    QCOMPARE(rowsOf(top, 96, 127), QByteArray(32, '.').append('\n').repeated(32));

    const Run name = tbs({"text", "ANNA", "--area", "0,96,32,32", "--over", path("screen.tbs"),
                          "-o", path("screen.tbs")});
    QVERIFY2(name.status == 0, qPrintable(describe(name)));
    const bootscreen::DisplayPicture composed = pictureOf(readFileBytes(path("screen.tbs")));
    const Run alone = tbs({"text", "ANNA", "--area", "0,96,32,32", "-o", "-"});
    QCOMPARE(rowsOf(composed, 0, 95), rowsOf(top, 0, 95));
    QCOMPARE(rowsOf(composed, 96, 127), rowsOf(pictureOf(alone.out), 96, 127));

    // Inverting concerns the area alone, in both commands.
    const bootscreen::DisplayPicture random = bootscreen::unpackPicture(randomScreen(61));
    QVERIFY(writeFileBytes(path("random.tbs"), screenBytes(random)));
    for (const QStringList &command :
         {QStringList{"text", "ANNA"}, QStringList{"convert", path("logo.png")}}) {
        const QStringList area{"--area", "3,40,20,50", "--over", path("random.tbs"), "-o", "-"};
        const bootscreen::DisplayPicture plain = pictureOf(tbs(command + area).out);
        const bootscreen::DisplayPicture inverted =
            pictureOf(tbs(command + area + QStringList{"--invert"}).out);
        for (int row = 0; row < bootscreen::DisplayRows; ++row) {
            for (int column = 0; column < bootscreen::DisplayColumns; ++column) {
                const bool inside = column >= 3 && column < 23 && row >= 40 && row < 90;
                QCOMPARE(plain.isLit(column, row) != inverted.isLit(column, row), inside);
                if (!inside)
                    QCOMPARE(plain.isLit(column, row), random.isLit(column, row));
            }
        }
    }
}

void TestTbs::everyListedFontSetsText()
{
    const Run list = tbs({"text", "--list-fonts"});
    QCOMPARE(list.status, 0);
    const QList<QByteArray> lines = list.out.trimmed().split('\n');
    QVERIFY(lines.size() >= 5);
    for (const QByteArray &line : lines) {
        const QList<QByteArray> words = line.simplified().split(' ');
        QCOMPARE(words.size(), 4); // NAME W x H
        QVERIFY2(words[0].endsWith("-" + words[1] + "x" + words[3]), line.constData());
        const Run run = tbs({"text", "Øyvind", "--font", QString::fromLatin1(words[0]), "--rotate",
                             "90", "-o", "-"});
        QVERIFY2(run.status == 0, qPrintable(describe(run)));
        QVERIFY(pictureOf(run.out).litCount() > 0);
    }
}

void TestTbs::oneBadInputDoesNotStopTheOthers()
{
    QVERIFY(writeFileBytes(path("a.tbs"),
                           QByteArray::fromStdString(bootscreen::formatScreen(randomScreen(51)))));
    QVERIFY(writeFileBytes(path("c.txt"),
                           QByteArray::fromStdString(bootscreen::formatScreen(randomScreen(52)))));
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("out")));
    const Run run =
        tbs({"convert", path("a.tbs"), path("b.png"), path("c.txt"), "-o", path("out")});
    QVERIFY2(run.status == 1 && run.err.count('\n') == 1 && run.err.contains("b.png"),
             qPrintable(describe(run)));
    QCOMPARE(QDir(path("out")).entryList(QDir::Files),
             QStringList({QStringLiteral("a.tbs"), QStringLiteral("c.tbs")}));
    QCOMPARE(readFileBytes(path("out/c.tbs")), readFileBytes(path("c.txt")));
}

void TestTbs::conversionNotes_data()
{
    QTest::addColumn<QColor>("mark"); // a disc on a transparent 64 x 64 picture
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("note"); // on standard error, besides what --verbose says

    const QStringList verbose{"--verbose"};
    QTest::newRow("dark red mark: lit, no warning") << QColor(120, 10, 30) << verbose << "";
    QTest::newRow("black mark on the black background")
        << QColor(Qt::black) << verbose
        << "the result is all dark; try --invert or --background white";
    QTest::newRow("white mark on a white background")
        << QColor(Qt::white) << QStringList{"--verbose", "--background", "white"}
        << "the result is all lit; try --invert or --background black";
    QTest::newRow("inverted: still said of the screen written")
        << QColor(Qt::black) << QStringList{"--verbose", "--invert"}
        << "the result is all lit; try --invert or --background black";
    QTest::newRow("a warning without --verbose")
        << QColor(Qt::black) << QStringList{} << "the result is all dark";
    QTest::newRow("inverted in an area: said of the area, not of the lit rest")
        << QColor(Qt::white)
        << QStringList{"--verbose", "--background", "white", "--invert", "--area", "0,0,32,64"}
        << "the result is all dark; try --invert or --background white";
    QTest::newRow("an area with a mark in it: no warning")
        << QColor(120, 10, 30) << QStringList{"--area", "0,96,32,32"} << "";
}

// --verbose names the --dither and --threshold that give the same screen again, and a blank
// result from a picture that is not blank is reported; the file is written all the same.
void TestTbs::conversionNotes()
{
    QFETCH(QColor, mark);
    QFETCH(QStringList, options);
    QFETCH(QString, note);

    QImage logo(64, 64, QImage::Format_ARGB32);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setBrush(mark);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(32, 32), 24, 24);
    painter.end();
    QVERIFY(logo.save(path("logo.png")));

    const Run run = tbs(QStringList{"convert", path("logo.png"), "-o", path("logo.tbs")} + options);
    QVERIFY2(run.status == 0 && QFile::exists(path("logo.tbs")), qPrintable(describe(run)));
    const QStringList lines = QString::fromUtf8(run.err).split('\n', Qt::SkipEmptyParts);
    const QString prefix = QStringLiteral("tbs: %1: ").arg(path("logo.png"));
    QCOMPARE(lines.size(), int(options.contains("--verbose")) + int(!note.isEmpty()));
    if (!note.isEmpty())
        QVERIFY2(lines.last().startsWith(prefix + note), qPrintable(describe(run)));
    if (!options.contains("--verbose"))
        return;
    const QString said = prefix + QStringLiteral("converted with ");
    QVERIFY2(lines.first().startsWith(said), qPrintable(describe(run)));
    const QStringList chosen = lines.first().mid(said.size()).split(' ');
    const Run again =
        tbs(QStringList{"convert", path("logo.png"), "-o", path("again.tbs")} + options + chosen);
    QVERIFY2(again.status == 0, qPrintable(describe(again)));
    QCOMPARE(readFileBytes(path("again.tbs")), readFileBytes(path("logo.tbs")));
}

void TestTbs::compareSheet_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("panels");

    // The picture has two tones, 0 and 255 once stretched: the automatic threshold is 128.
    // As given, floyd-steinberg, atkinson, bayer, regions and structure (at the given threshold
    // or the one each chooses), and plain thresholds 64, 96, 128, 160 and 192, each shown once.
    QTest::newRow("defaults: none at 128 is the first one") << QStringList{} << 10;
    QTest::newRow("floyd-steinberg given: shown first, once")
        << QStringList{"--dither", "floyd-steinberg"} << 10;
    QTest::newRow("none at 96 given: the first one")
        << QStringList{"--dither", "none", "--threshold", "96"} << 10;
    QTest::newRow("threshold 200 given: the methods at 200, and one more plain threshold")
        << QStringList{"--threshold", "200"} << 11;
}

// The sheet shows each candidate as the marker does, labelled, and the first is what convert
// gives with the same options.
void TestTbs::compareSheet()
{
    QFETCH(QStringList, options);
    QFETCH(int, panels);

    QImage logo(40, 160, QImage::Format_RGB32);
    logo.fill(qRgb(250, 220, 40));
    QPainter(&logo).fillRect(10, 40, 20, 80, QColor(40, 40, 200));
    QVERIFY(logo.save(path("logo.png")));
    const Run run =
        tbs(QStringList{"compare", path("logo.png"), "-o", path("sheet.png")} + options);
    QVERIFY2(run.status == 0 && run.err.isEmpty(), qPrintable(describe(run)));
    const QImage sheet(path("sheet.png"));
    // 160 x 640 a panel (5 x 5 a display pixel), 12 apart, 8 around; three label lines.
    QCOMPARE(sheet.width(), 2 * 8 + panels * 160 + (panels - 1) * 12);
    QCOMPARE(sheet.height(), 2 * 8 + 3 * 9 + 4 + 640);

    QVERIFY(tbs(QStringList{"convert", path("logo.png"), "-o", path("logo.png.tbs")} + options)
                .status == 0);
    const Run shown = tbs({"convert", path("logo.png.tbs"), "-o", path("screen.png")});
    QVERIFY(shown.status == 0);
    const QImage expected(path("screen.png"));
    const int top = 8 + 3 * 9 + 4;
    for (int row = 0; row < 128; ++row) {
        for (int column = 0; column < 32; ++column) {
            const bool lit = qGray(sheet.pixel(8 + column * 5 + 1, top + row * 5 + 1)) > 128;
            QCOMPARE(lit, expected.pixel(column, row) == qRgb(255, 255, 255));
            QCOMPARE(sheet.pixel(8 + column * 5 + 4, top + row * 5 + 4), qRgb(0, 0, 0)); // gap
        }
    }
}

void TestTbs::largePhotosAreDecodedReduced_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("fit");
    QTest::addColumn<QStringList>("crop");
    QTest::addColumn<int>("status");

    // 1024 x 1024 is 4 MB at 32 bits a pixel, over the 1 MB limit the test sets; at 1/8 it is
    // 64 KB. Only JPEG can be decoded at a fraction of its size.
    const QStringList none;
    QTest::newRow("JPEG, fitted: decoded at 1/8") << QByteArray("jpeg") << "contain" << none << 0;
    QTest::newRow("JPEG, at its own size: refused") << QByteArray("jpeg") << "none" << none << 1;
    QTest::newRow("PNG: refused") << QByteArray("png") << "contain" << none << 1;
    // 64 x 256 pixels for the 32 x 128 display: no fraction keeps two for each, decoded whole.
    QTest::newRow("JPEG, a small crop: refused")
        << QByteArray("jpeg") << "contain" << QStringList{"--crop", "0,0,64,256"} << 1;
}

void TestTbs::largePhotosAreDecodedReduced()
{
    QFETCH(QByteArray, format);
    QFETCH(QString, fit);
    QFETCH(QStringList, crop);
    QFETCH(int, status);

    QImage photo(1024, 1024, QImage::Format_RGB32);
    photo.fill(qRgb(200, 200, 200));
    const QString input = path("photo." + format);
    QVERIFY(photo.save(input, format.constData()));
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    const Run run =
        tbs(QStringList{"convert", input, "--fit", fit, "-o", path("photo.tbs")} + crop);
    QImageReader::setAllocationLimit(limit);
    QVERIFY2(run.status == status, qPrintable(describe(run)));
    QCOMPARE(QFile::exists(path("photo.tbs")), status == 0);
    if (status != 0)
        QVERIFY(run.err.contains("too large: 1024 x 1024"));
}

void TestTbs::thumbnailSize_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QSize>("pixels");

    QTest::newRow("256: scale 2") << 256 << QSize(64, 256);
    QTest::newRow("300: whole scale 2") << 300 << QSize(64, 256);
    QTest::newRow("64: never below scale 1") << 64 << QSize(32, 128);
}

void TestTbs::thumbnailSize()
{
    QFETCH(int, size);
    QFETCH(QSize, pixels);

    QVERIFY(writeFileBytes(path("in.tbs"), "128\r\n")); // only the top-right pixel lit
    const Run run =
        tbs({"thumbnail", "-s", QString::number(size), path("in.tbs"), path("thumb.png")});
    QVERIFY2(run.status == 0, qPrintable(describe(run)));
    const QImage thumb(path("thumb.png"));
    QCOMPARE(thumb.size(), pixels);
    const int scale = pixels.width() / 32;
    QCOMPARE(thumb.pixel(24 * scale, 0), qRgb(255, 255, 255));
    QCOMPARE(thumb.pixel(24 * scale - 1, scale - 1), qRgb(0, 0, 0));
    QCOMPARE(thumb.pixel(25 * scale, 0), qRgb(0, 0, 0));
}

void TestTbs::showDrawsTheScreenInAFrame_data()
{
    QTest::addColumn<QStringList>("locale"); // the only locale variables set
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected"); // in tests/data/show, as is screen.tbs

    const QStringList none;
    QTest::newRow("UTF-8 locale: half blocks, box-drawing frame")
        << QStringList{"LC_ALL=C.UTF-8"} << none << "blocks.txt";
    QTest::newRow("UTF-8 from LANG alone") << QStringList{"LANG=C.UTF-8"} << none << "blocks.txt";
    QTest::newRow("UTF-8 character type, C otherwise")
        << QStringList{"LANG=C", "LC_CTYPE=C.UTF-8"} << none << "blocks.txt";
    QTest::newRow("--ascii in a UTF-8 locale")
        << QStringList{"LC_ALL=C.UTF-8"} << QStringList{"--ascii"} << "ascii.txt";
    QTest::newRow("C locale: # and ., ASCII frame")
        << QStringList{"LC_ALL=C"} << none << "ascii.txt";
    QTest::newRow("no locale set: ASCII") << none << none << "ascii.txt";
    QTest::newRow("locale not installed: the C library's ASCII")
        << QStringList{"LC_ALL=xx_XX.UTF-8"} << none << "ascii.txt";
}

// The locale is the program's environment, so the built program runs.
void TestTbs::showDrawsTheScreenInAFrame()
{
    QFETCH(QStringList, locale);
    QFETCH(QStringList, options);
    QFETCH(QString, expected);

    const QString data = QStringLiteral(TBS_TEST_DATA "/show/");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : environment.keys()) {
        if (name == QLatin1String("LANG") || name.startsWith(QLatin1String("LC_")))
            environment.remove(name);
    }
    for (const QString &setting : locale)
        environment.insert(setting.section(QLatin1Char('='), 0, 0),
                           setting.section(QLatin1Char('='), 1));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TBS_PROGRAM), QStringList{"show", data + "screen.tbs"} + options);
    QVERIFY(process.waitForFinished(30000));
    const QByteArray out = process.readAllStandardOutput();
    QVERIFY2(process.exitCode() == 0 && out == readFileBytes(data + expected),
             qPrintable(QStringLiteral("exit %1, out:\n%2").arg(process.exitCode()).arg(out)));
}

void TestTbs::linksHoldTheScreenByteForByte_data()
{
    QTest::addColumn<QString>("file"); // empty: the link holds no screen
    QTest::addColumn<QString>("base"); // empty: no --base
    QTest::addColumn<QString>("link");

    // The same rows as the studio's test of its links.
    const QString data = QStringLiteral(TBS_TEST_DATA "/links/");
    const QList<QByteArray> lines = readFileBytes(data + "links.txt").split('\n');
    int rows = 0;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (line.startsWith('#') || fields.size() != 3)
            continue;
        const auto given = [](const QByteArray &field) {
            return field == "-" ? QString() : QString::fromUtf8(field);
        };
        const QString file = given(fields[0]);
        QTest::addRow("%d %s", ++rows, file.isEmpty() ? "no screen" : qPrintable(file))
            << (file.isEmpty() ? file : data + file) << given(fields[1])
            << QString::fromUtf8(fields[2]);
    }
    QVERIFY(rows >= 8);
}

// tbs link prints the golden link, and the link is an input like the file: convert writes the
// file's bytes from it, show shows the file, and link gives the link again. A link that holds no
// screen is refused in the words every front end uses, and nothing is written.
void TestTbs::linksHoldTheScreenByteForByte()
{
    QFETCH(QString, file);
    QFETCH(QString, base);
    QFETCH(QString, link);

    const QStringList withBase =
        base.isEmpty() ? QStringList() : QStringList{QStringLiteral("--base"), base};
    const Run converted = tbs({"convert", link, "-o", path("back.tbs")});
    if (file.isEmpty()) {
        QVERIFY2(converted.status == 1, qPrintable(describe(converted)));
        QCOMPARE(QString::fromUtf8(converted.err),
                 QStringLiteral("tbs: %1: %2\n")
                     .arg(link, QString::fromStdString(filewording::notAScreenLink())));
        QVERIFY(!QFile::exists(path("back.tbs")));
        return;
    }
    for (const QString &input : {file, link}) {
        const Run linked = tbs(QStringList{"link", input} + withBase);
        QVERIFY2(linked.status == 0 && linked.err.isEmpty(), qPrintable(describe(linked)));
        QCOMPARE(QString::fromUtf8(linked.out), link + QLatin1Char('\n'));
    }
    QVERIFY2(converted.status == 0, qPrintable(describe(converted)));
    QCOMPARE(readFileBytes(path("back.tbs")), readFileBytes(file));
    const Run shownLink = tbs({"show", "--ascii", link});
    const Run shownFile = tbs({"show", "--ascii", file});
    QVERIFY2(shownLink.status == 0, qPrintable(describe(shownLink)));
    QCOMPARE(shownLink.out, shownFile.out);
}

// A link's text makes no file name: links converted into a folder are numbered in their order.
void TestTbs::linksIntoAFolderAreNumbered()
{
    const QByteArray lit = screenBytes(bootscreen::DisplayPicture().inverted());
    QVERIFY(writeFileBytes(path("lit.tbs"), lit));
    const Run litLink = tbs({"link", path("lit.tbs"), "--base", "https://tarrow.example/"});
    QVERIFY2(litLink.status == 0, qPrintable(describe(litLink)));
    QVERIFY(QDir(dir->path()).mkdir("out"));
    const Run run =
        tbs({"convert", darkLink(), QString::fromUtf8(litLink.out.trimmed()), "-o", path("out")});
    QVERIFY2(run.status == 0, qPrintable(describe(run)));
    QCOMPARE(readFileBytes(path("out/link-1.tbs")), screenBytes({}));
    QCOMPARE(readFileBytes(path("out/link-2.tbs")), lit);
}

void TestTbs::savesIntoAFolderThatTakesNoNewFile_data()
{
    QTest::addColumn<QString>("output");       // in a folder holding out.bmp and out.tbs
    QTest::addColumn<qint64>("fileSizeLimit"); // none when 0
    QTest::addColumn<int>("status");

    QTest::newRow("existing file: written in place") << "out.tbs" << qint64(0) << 0;
    QTest::newRow("new file: refused, none created") << "new.tbs" << qint64(0) << 1;
    // The file was emptied when it was opened; its old contents go back.
    QTest::newRow("write in place stopped half-way: the old file back")
        << "out.tbs" << qint64(1000) << 1;
    QTest::newRow("image written in place stopped half-way: the old file back")
        << "out.bmp" << qint64(1000) << 1;
}

// Where a folder takes no new file but the file in it is writable, the file is written in
// place. Root passes every permission check, so the run drops to an unprivileged user.
void TestTbs::savesIntoAFolderThatTakesNoNewFile()
{
    QFETCH(QString, output);
    QFETCH(qint64, fileSizeLimit);
    QFETCH(int, status);

    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (geteuid() == 0 && setpriv.isEmpty())
        QSKIP("running as root without setpriv to drop privileges: permissions stop nothing");
    if (fileSizeLimit > 0 && !fileSizeLimitAvailable())
        QSKIP("needs a file size limit to make a write fail after opening");
    QFile::setPermissions(dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                           QFileDevice::ExeOther);
    QVERIFY(QFile::copy(QStringLiteral(TBS_PROGRAM), path("tbs")));
    QVERIFY(writeFileBytes(path("in.tbs"),
                           QByteArray::fromStdString(bootscreen::formatScreen(randomScreen(61)))));
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("locked")));
    const QStringList oldFiles{QStringLiteral("out.bmp"), QStringLiteral("out.tbs")};
    const auto anyone = QFileDevice::ReadOwner | QFileDevice::ReadOther;
    for (const QString &name : oldFiles) {
        QVERIFY(writeFileBytes(path("locked/" + name), "old"));
        QFile::setPermissions(path("locked/" + name),
                              anyone | QFileDevice::WriteOwner | QFileDevice::WriteOther);
    }
    QFile::setPermissions(path("tbs"), anyone | QFileDevice::ExeOwner | QFileDevice::ExeOther);
    QFile::setPermissions(path("in.tbs"), anyone);
    QFile::setPermissions(path("locked"), anyone | QFileDevice::ExeOwner | QFileDevice::ExeOther);
    const auto unlock = qScopeGuard([this] {
        QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
    });

    QStringList command{path("tbs"), QStringLiteral("convert"), path("in.tbs"),
                        QStringLiteral("-o"), path("locked/" + output)};
    if (geteuid() == 0)
        command = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups"} + command;
    QProcess process;
    // The limit and the ignored SIGXFSZ pass on to the program started meanwhile.
    const auto run = [&] {
        process.start(geteuid() == 0 ? setpriv : command.takeFirst(), command);
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    };
    QVERIFY(fileSizeLimit > 0 ? runWithFileSizeLimit(fileSizeLimit, run) : run());
    const QByteArray err = process.readAllStandardError();
    const QString what = QStringLiteral("exit %1, err: %2").arg(process.exitCode()).arg(err);
    QVERIFY2(process.exitCode() == status, qPrintable(what));
    QVERIFY2(status == 0 ? err.isEmpty()
                         : err.count('\n') == 1 &&
                               err.startsWith("tbs: " + path("locked/" + output).toUtf8()),
             qPrintable(what));
    QCOMPARE(QDir(path("locked")).entryList(QDir::Files | QDir::Hidden), oldFiles);
    for (const QString &name : oldFiles) {
        const QByteArray expected =
            status == 0 && name == output ? readFileBytes(path("in.tbs")) : QByteArray("old");
        QCOMPARE(readFileBytes(path("locked/" + name)), expected);
    }
}

void TestTbs::failedStandardOutputIsAnError_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("convert to standard output") << QStringList{"convert", "%1", "-o", "-"};
    QTest::newRow("show") << QStringList{"show", "%1"};
    QTest::newRow("check") << QStringList{"check", "%1"};
}

// A full disk under standard output loses the output: the program, run for real, says so.
void TestTbs::failedStandardOutputIsAnError()
{
    QFETCH(QStringList, arguments);
    QVERIFY(writeFileBytes(path("lf.tbs"), QByteArray("7\n").repeated(512)));
    for (QString &argument : arguments)
        argument = argument.arg(path("lf.tbs"));
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(TBS_PROGRAM), arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(process.readAllStandardError(),
             QByteArray("tbs: standard output: No space left on device\n"));
}

void TestTbs::picturesFromImagePlugins_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    auto encoded = [](const char *format) {
        QImage picture(32, 128, QImage::Format_RGB32);
        picture.fill(Qt::black);
        picture.setPixel(31, 0, qRgb(255, 255, 255));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, format);
        return bytes;
    };
    QTest::newRow("WebP") << "p.webp" << encoded("webp");
    QTest::newRow("TIFF") << "p.tiff" << encoded("tiff");
    QTest::newRow("SVG") << "p.svg"
                         << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='32' "
                                       "height='128'><rect width='32' height='128'/><rect x='31' "
                                       "width='1' height='1' fill='#fff'/></svg>");
}

// The image format plug-ins the package recommends are installed with the tests, so that these
// pictures are read like any other.
void TestTbs::picturesFromImagePlugins()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QVERIFY2(!bytes.isEmpty(), "the plug-in that writes this format is not installed");
    QVERIFY(writeFileBytes(path(name), bytes));
    const Run run = tbs({"convert", path(name), "--dither", "none", "-o", "-"});
    QVERIFY2(run.status == 0, qPrintable(describe(run)));
    QCOMPARE(run.out, "1\r\n" + QByteArray("0\r\n").repeated(511));
}

// The program itself, as a user runs it: no display and no platform plugin named.
void TestTbs::builtProgramRunsWithoutADisplay()
{
    QImage logo(32, 128, QImage::Format_RGB32);
    logo.fill(Qt::black);
    logo.setPixel(0, 0, qRgb(255, 255, 255));
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && logo.save(&buffer, "PNG"));

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TBS_PROGRAM), {QStringLiteral("convert"), QStringLiteral("-"),
                                                QStringLiteral("-o"), QStringLiteral("-")});
    process.write(png);
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardError(), QByteArray());
    QCOMPARE(process.readAllStandardOutput(),
             QByteArray("0\r\n").repeated(384) + "128\r\n" + QByteArray("0\r\n").repeated(127));
}

QTEST_MAIN(TestTbs)
#include "tst_tbs.moc"
