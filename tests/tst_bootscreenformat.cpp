#include "bootscreenformat.h"
#include "bootscreenreader.h"
#include "bootscreenwriter.h"
#include "screenfile.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using bootscreen::EntryCount;
using bootscreen::ScreenBuffer;

Q_DECLARE_METATYPE(ScreenBuffer)

namespace {

// Entries the reader must leave alone hold this, so "unchanged" is visible.
constexpr std::int32_t Untouched = 42;

ScreenBuffer filledScreen(std::int32_t value)
{
    ScreenBuffer screen;
    screen.fill(value);
    return screen;
}

// What the display shows of an entry: its bits 0-7, read through the mapping's own test.
int paintedByte(std::int32_t entry)
{
    int byte = 0;
    for (int bit = 0; bit < bootscreen::BitsPerEntry; ++bit)
        byte |= bootscreen::entryBitIsSet(entry, bit) ? 1 << bit : 0;
    return byte;
}

QByteArray repeatedLines(const QByteArray &line, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += line;
    return bytes;
}

// Takes the first `capacity` bytes written, then fails every write.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 capacity) : capacity(capacity) {}

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override
    {
        if (written + length > capacity) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        written += length;
        return length;
    }

private:
    qint64 capacity;
    qint64 written = 0;
};

// Serves `pattern` over and over, and fails with an error once `failAfter` bytes are out
// (never when it is negative). Counts what it served.
class EndlessDevice : public QIODevice
{
public:
    EndlessDevice(QByteArray pattern, qint64 failAfter)
        : pattern(std::move(pattern)), failAfter(failAfter)
    {
    }
    bool isSequential() const override { return true; }
    qint64 served = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (failAfter >= 0 && served >= failAfter)
            return -1;
        if (failAfter >= 0)
            maxSize = qMin(maxSize, failAfter - served);
        for (qint64 i = 0; i < maxSize; ++i)
            data[i] = pattern.at((served + i) % pattern.size());
        served += maxSize;
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray pattern;
    qint64 failAfter;
};

} // namespace

class TestBootScreenFormat : public QObject
{
    Q_OBJECT

private slots:
    void pixelMapping_data();
    void pixelMapping();
    void mappingCoversEveryPixelOnce();

    void writtenBytes_data();
    void writtenBytes();
    void saveReplacesLongerFileAndReportsOpenFailure();
    void writeFailureIsReported_data();
    void writeFailureIsReported();

    void singleLine_data();
    void singleLine();
    void linesKeepTheirPositions_data();
    void linesKeepTheirPositions();
    void readingIsBounded_data();
    void readingIsBounded();
    void byteCapEndsTheFile_data();
    void byteCapEndsTheFile();
    void randomScreensSurviveWriteAndRead_data();
    void randomScreensSurviveWriteAndRead();
};

void TestBootScreenFormat::pixelMapping_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("mask");

    QTest::newRow("top-left pixel is the top bit of the leftmost band") << 0 << 0 << 384 << 128;
    QTest::newRow("bottom-right pixel is bit 0 of the last row of band 0") << 31 << 127 << 127 << 1;
    QTest::newRow("column 8 starts band 2") << 8 << 0 << 256 << 128;
    QTest::newRow("column 7 ends band 3") << 7 << 0 << 384 << 1;
    QTest::newRow("column 9 is bit 6 of band 2") << 9 << 5 << 261 << 64;
    QTest::newRow("column 24 is the top bit of band 0") << 24 << 3 << 3 << 128;
}

void TestBootScreenFormat::pixelMapping()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(int, entry);
    QFETCH(int, mask);

    int bit = 0;
    while ((1 << bit) != mask)
        ++bit;
    const bootscreen::DisplayPixel pixel = bootscreen::pixelForEntryBit(entry, bit);
    QCOMPARE(pixel.column, column);
    QCOMPARE(pixel.row, row);
}

void TestBootScreenFormat::mappingCoversEveryPixelOnce()
{
    QVector<int> hits(EntryCount * bootscreen::BitsPerEntry, 0);
    for (int entry = 0; entry < EntryCount; ++entry) {
        for (int bit = 0; bit < bootscreen::BitsPerEntry; ++bit) {
            const bootscreen::DisplayPixel pixel = bootscreen::pixelForEntryBit(entry, bit);
            QVERIFY2(pixel.column >= 0 && pixel.column < bootscreen::DisplayColumns &&
                         pixel.row >= 0 && pixel.row < bootscreen::DisplayRows,
                     qPrintable(QStringLiteral("entry %1 bit %2").arg(entry).arg(bit)));
            ++hits[pixel.row * bootscreen::DisplayColumns + pixel.column];
        }
    }
    QCOMPARE(hits.count(1), hits.size());
}

void TestBootScreenFormat::writtenBytes_data()
{
    QTest::addColumn<ScreenBuffer>("screen");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray zeroLine = "0\r\n";
    QTest::newRow("all off: 512 lines of 0, 1,536 bytes")
        << filledScreen(0) << repeatedLines(zeroLine, 512);
    QTest::newRow("all on: 512 lines of 255, 2,560 bytes")
        << filledScreen(255) << repeatedLines("255\r\n", 512);

    ScreenBuffer topLeft = filledScreen(0);
    topLeft[384] = 128;
    QTest::newRow("top-left pixel: 128 on line 385 only")
        << topLeft << repeatedLines(zeroLine, 384) + "128\r\n" + repeatedLines(zeroLine, 127);

    ScreenBuffer mixed = filledScreen(0);
    mixed[0] = 7;
    mixed[1] = 10;
    mixed[511] = 99;
    QTest::newRow("no leading zeros or padding")
        << mixed << "7\r\n10\r\n" + repeatedLines(zeroLine, 509) + "99\r\n";
}

void TestBootScreenFormat::writtenBytes()
{
    QFETCH(ScreenBuffer, screen);
    QFETCH(QByteArray, bytes);

    QCOMPARE(QByteArray::fromStdString(bootscreen::formatScreen(screen)), bytes);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("screen.tbs"));
    QVERIFY(screenfile::saveScreenFile(path, screen));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void TestBootScreenFormat::saveReplacesLongerFileAndReportsOpenFailure()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.tbs"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(10000, 'x'));
    }
    QString error;
    QVERIFY(screenfile::saveScreenFile(path, filledScreen(0), &error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), repeatedLines("0\r\n", 512));

    const QString missingFolder = dir.filePath(QStringLiteral("missing/new.tbs"));
    QVERIFY(!screenfile::saveScreenFile(missingFolder, filledScreen(0), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(missingFolder));
}

void TestBootScreenFormat::writeFailureIsReported_data()
{
    QTest::addColumn<qint64>("capacity");
    QTest::addColumn<bool>("written");

    QTest::newRow("nothing fits") << qint64(0) << false;
    QTest::newRow("fails part way") << qint64(1000) << false;
    QTest::newRow("one byte short") << qint64(2559) << false;
    QTest::newRow("exactly fits") << qint64(2560) << true;
}

void TestBootScreenFormat::writeFailureIsReported()
{
    QFETCH(qint64, capacity);
    QFETCH(bool, written);

    FailingDevice device(capacity);
    QVERIFY(device.open(QIODevice::WriteOnly));
    QCOMPARE(screenfile::writeScreen(device, filledScreen(255)), written);
}

void TestBootScreenFormat::singleLine_data()
{
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("painted");

    QTest::newRow("7 with CR LF") << QByteArray("7\r\n") << 7 << 7;
    QTest::newRow("7 with LF alone") << QByteArray("7\n") << 7 << 7;
    QTest::newRow("leading zeros") << QByteArray("007\r\n") << 7 << 7;
    QTest::newRow("255") << QByteArray("255\r\n") << 255 << 255;
    QTest::newRow("CR dropped before counting: 3 digits accepted")
        << QByteArray("123\r\n") << 123 << 123;
    QTest::newRow("leading blank") << QByteArray(" 7\r\n") << 7 << 7;
    QTest::newRow("leading tab") << QByteArray("\t7\r\n") << 7 << 7;
    QTest::newRow("leading vertical tab and form feed") << QByteArray("\v\f7\n") << 7 << 7;
    QTest::newRow("plus sign") << QByteArray("+7\r\n") << 7 << 7;
    QTest::newRow("trailing blank reads as 0") << QByteArray("7 \r\n") << 0 << 0;
    QTest::newRow("a second CR stays in the content") << QByteArray("12\r\r\n") << 0 << 0;
    QTest::newRow("a letter reads as 0") << QByteArray("a\r\n") << 0 << 0;
    QTest::newRow("white space alone reads as 0") << QByteArray("  \r\n") << 0 << 0;
    QTest::newRow("sign alone reads as 0") << QByteArray("-\r\n") << 0 << 0;
    QTest::newRow("NUL after a digit reads as 0") << QByteArray("7\0\n", 3) << 0 << 0;
    QTest::newRow("256 is stored, paints 0") << QByteArray("256\r\n") << 256 << 0;
    QTest::newRow("999 is stored, paints 231") << QByteArray("999\r\n") << 999 << 231;
    QTest::newRow("-1 is stored, paints 255") << QByteArray("-1\r\n") << -1 << 255;
    QTest::newRow("4 bytes leave the entry") << QByteArray("1000\r\n") << Untouched << Untouched;
    QTest::newRow("empty line leaves the entry") << QByteArray("\r\n") << Untouched << Untouched;
    QTest::newRow("LF alone leaves the entry") << QByteArray("\n") << Untouched << Untouched;
    QTest::newRow("last line without line end leaves the entry")
        << QByteArray("12") << Untouched << Untouched;
    QTest::newRow("last line ending in CR alone leaves the entry")
        << QByteArray("12\r") << Untouched << Untouched;
}

void TestBootScreenFormat::singleLine()
{
    QFETCH(QByteArray, fileBytes);
    QFETCH(int, entry);
    QFETCH(int, painted);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("line.tbs"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(fileBytes);
    file.close();

    // A file whose one line is skipped holds no boot screen: reading it fails.
    ScreenBuffer screen = filledScreen(Untouched);
    QCOMPARE(screenfile::readScreenFile(path, screen), entry != Untouched);
    QCOMPARE(screen[0], entry);
    QCOMPARE(paintedByte(screen[0]), painted);
    QCOMPARE(std::count(screen.begin() + 1, screen.end(), Untouched), EntryCount - 1);
}

void TestBootScreenFormat::linesKeepTheirPositions_data()
{
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<QVector<int>>("leadingEntries"); // the rest must be untouched
    QTest::addColumn<int>("accepted");

    QTest::newRow("skipped lines do not shift later ones")
        << QByteArray("1\n\n3\r\n1000\n5\n") << QVector<int>{1, Untouched, 3, Untouched, 5} << 3;
    QTest::newRow("empty file") << QByteArray() << QVector<int>{} << 0;
    QTest::newRow("a long line is skipped whole") << QByteArray(5000, '9') + "\n8\n"
                                                  << QVector<int>{Untouched, 8} << 1;

    QVector<int> all(EntryCount, 1);
    QTest::newRow("lines after the 512th are not read")
        << repeatedLines("1\r\n", 512) + repeatedLines("9\r\n", 100) << all << 512;
}

void TestBootScreenFormat::linesKeepTheirPositions()
{
    QFETCH(QByteArray, fileBytes);
    QFETCH(QVector<int>, leadingEntries);
    QFETCH(int, accepted);

    QBuffer device(&fileBytes);
    QVERIFY(device.open(QIODevice::ReadOnly));
    ScreenBuffer screen = filledScreen(Untouched);
    QCOMPARE(bootscreen::readScreen(screenfile::readCapped(device), screen).takenLines, accepted);
    for (int entry = 0; entry < EntryCount; ++entry) {
        const int expected = entry < leadingEntries.size() ? leadingEntries[entry] : Untouched;
        QVERIFY2(screen[entry] == expected, qPrintable(QStringLiteral("entry %1 is %2, expected %3")
                                                           .arg(entry)
                                                           .arg(screen[entry])
                                                           .arg(expected)));
    }
}

void TestBootScreenFormat::readingIsBounded_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<qint64>("failAfter");
    QTest::addColumn<int>("entry1");
    QTest::addColumn<qint64>("maxServed");

    const qint64 cap = bootscreen::ReadByteCap;
    QTest::newRow("endless device without line ends stops at the cap")
        << QByteArray("0") << qint64(-1) << Untouched << cap + 1;
    QTest::newRow("endless short lines: 512 taken, no more than the cap read")
        << QByteArray("5\n") << qint64(-1) << 5 << cap + 1;
    QTest::newRow("read error part way reads as the end")
        << QByteArray("5\n") << qint64(3) << Untouched << qint64(3);
}

void TestBootScreenFormat::readingIsBounded()
{
    QFETCH(QByteArray, pattern);
    QFETCH(qint64, failAfter);
    QFETCH(int, entry1);
    QFETCH(qint64, maxServed);

    EndlessDevice device(pattern, failAfter);
    QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    ScreenBuffer screen = filledScreen(Untouched);
    bootscreen::readScreen(screenfile::readCapped(device), screen);
    QCOMPARE(screen[1], entry1);
    QVERIFY2(device.served <= maxServed, qPrintable(QString::number(device.served)));
}

void TestBootScreenFormat::byteCapEndsTheFile_data()
{
    QTest::addColumn<QByteArray>("beforeCap");
    QTest::addColumn<int>("entry1");

    // A first line of blanks, then LF and "5\n": line 2 counts only if it lies within the cap.
    const int cap = int(bootscreen::ReadByteCap);
    QTest::newRow("second line just inside the cap is read") << QByteArray(cap - 3, ' ') << 5;
    QTest::newRow("second line just past the cap reads as the end")
        << QByteArray(cap - 2, ' ') << Untouched;
}

void TestBootScreenFormat::byteCapEndsTheFile()
{
    QFETCH(QByteArray, beforeCap);
    QFETCH(int, entry1);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.tbs"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(beforeCap + "\n5\n" + QByteArray(1 << 20, '\n'));
    file.close();

    ScreenBuffer screen = filledScreen(Untouched);
    QCOMPARE(screenfile::readScreenFile(path, screen), entry1 != Untouched);
    QCOMPARE(screen[0], Untouched);
    QCOMPARE(screen[1], entry1);

    // The real endless devices, where the system has them: no line ends in /dev/zero, so
    // nothing is taken; both must end, whatever they hold.
    if (QFile::exists(QStringLiteral("/dev/zero"))) {
        screen = filledScreen(Untouched);
        QVERIFY(!screenfile::readScreenFile(QStringLiteral("/dev/zero"), screen));
        QCOMPARE(std::count(screen.begin(), screen.end(), Untouched), EntryCount);
    }
    if (QFile::exists(QStringLiteral("/dev/urandom")))
        screenfile::readScreenFile(QStringLiteral("/dev/urandom"), screen);
}

void TestBootScreenFormat::randomScreensSurviveWriteAndRead_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::newRow("seed 1") << 1u;
    QTest::newRow("seed 20240611") << 20240611u;
    QTest::newRow("seed 4242") << 4242u;
}

void TestBootScreenFormat::randomScreensSurviveWriteAndRead()
{
    QFETCH(quint32, seed);

    QRandomGenerator random(seed);
    ScreenBuffer written;
    for (std::int32_t &entry : written)
        entry = std::int32_t(random.bounded(256));

    QBuffer device;
    QVERIFY(device.open(QIODevice::ReadWrite));
    QVERIFY(screenfile::writeScreen(device, written));
    device.seek(0);
    ScreenBuffer read = filledScreen(Untouched);
    QCOMPARE(bootscreen::readScreen(screenfile::readCapped(device), read).takenLines, EntryCount);
    QVERIFY2(read == written, qPrintable(QStringLiteral("seed %1").arg(seed)));
}

QTEST_MAIN(TestBootScreenFormat)
#include "tst_bootscreenformat.moc"
