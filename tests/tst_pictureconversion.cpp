#include "imageconversion.h"

#include <QPainter>
#include <QTest>

using pictureconversion::Options;
using picturefit::Fit;
using picturefit::Rotation;

Q_DECLARE_METATYPE(Fit)
Q_DECLARE_METATYPE(Rotation)
Q_DECLARE_METATYPE(dithering::Method)

namespace {

QImage filled(const QSize &size, QRgb colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// The smallest rectangle holding every lit pixel; null when none is lit.
QRect litBounds(const bootscreen::DisplayPicture &picture)
{
    QRect bounds;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 32; ++x)
            if (picture.isLit(x, y))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// A picture converted in the steps tbs takes: read into the display's levels in bands, then
// made lit and dark.
pictureconversion::Conversion converted(const QImage &image, const Options &options)
{
    return pictureconversion::convertLevels(imageconversion::pictureLevels(image, options),
                                            options);
}

Options plainThreshold()
{
    Options options;
    options.dither = dithering::Method::None;
    return options;
}

} // namespace

class TestPictureConversion : public QObject
{
    Q_OBJECT

private slots:
    void fitPlacesThePicture_data();
    void fitPlacesThePicture();
    void rotationTurnsClockwise_data();
    void rotationTurnsClockwise();
    void ditherKeepsMeanBrightness_data();
    void ditherKeepsMeanBrightness();
    void reductionAveragesTheSourceArea_data();
    void reductionAveragesTheSourceArea();
};

void TestPictureConversion::fitPlacesThePicture_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Fit>("fit");
    QTest::addColumn<Rotation>("rotation");
    QTest::addColumn<QRect>("lit"); // a white picture on the black margins

    QTest::newRow("contain: a square fills the width, centred")
        << QSize(64, 64) << Fit::Contain << Rotation::None << QRect(0, 48, 32, 32);
    QTest::newRow("contain: 300 x 200 becomes 32 x 21, offset rounded down")
        << QSize(300, 200) << Fit::Contain << Rotation::None << QRect(0, 53, 32, 21);
    QTest::newRow("contain: a thin strip keeps one row")
        << QSize(1000, 3) << Fit::Contain << Rotation::None << QRect(0, 63, 32, 1);
    QTest::newRow("cover: a square fills the screen, cropped")
        << QSize(64, 64) << Fit::Cover << Rotation::None << QRect(0, 0, 32, 128);
    QTest::newRow("stretch: any picture fills the screen")
        << QSize(5, 3) << Fit::Stretch << Rotation::None << QRect(0, 0, 32, 128);
    QTest::newRow("none: a small picture at its own size, centred")
        << QSize(9, 7) << Fit::None << Rotation::None << QRect(11, 60, 9, 7);
    QTest::newRow("none: a larger picture is cropped")
        << QSize(40, 130) << Fit::None << Rotation::None << QRect(0, 0, 32, 128);
    QTest::newRow("auto turns a landscape picture to fill the tall screen")
        << QSize(256, 64) << Fit::Contain << Rotation::Auto << QRect(0, 0, 32, 128);
    QTest::newRow("auto leaves a portrait picture")
        << QSize(64, 256) << Fit::Contain << Rotation::Auto << QRect(0, 0, 32, 128);
}

void TestPictureConversion::fitPlacesThePicture()
{
    QFETCH(QSize, size);
    QFETCH(Fit, fit);
    QFETCH(Rotation, rotation);
    QFETCH(QRect, lit);

    Options options = plainThreshold();
    options.fit = fit;
    options.rotation = rotation;
    const bootscreen::DisplayPicture picture =
        converted(filled(size, qRgb(255, 255, 255)), options).picture;
    QCOMPARE(litBounds(picture), lit);
    QCOMPARE(picture.litCount(), lit.width() * lit.height());

    // White margins and inverting give the exact complement.
    options.background = pictureconversion::Background::White;
    options.invert = true;
    QCOMPARE(converted(filled(size, qRgb(0, 0, 0)), options).picture.litCount(),
             lit.width() * lit.height());
}

void TestPictureConversion::rotationTurnsClockwise_data()
{
    QTest::addColumn<Rotation>("rotation");
    QTest::addColumn<QRect>("cornerAt"); // where the picture's white top-left corner lands

    QTest::newRow("0") << Rotation::None << QRect(0, 0, 1, 4);
    QTest::newRow("90") << Rotation::Quarter << QRect(31, 0, 1, 4);
    QTest::newRow("180") << Rotation::Half << QRect(31, 124, 1, 4);
    QTest::newRow("270") << Rotation::ThreeQuarters << QRect(0, 124, 1, 4);
}

void TestPictureConversion::rotationTurnsClockwise()
{
    QFETCH(Rotation, rotation);
    QFETCH(QRect, cornerAt);

    // A 128 x 128 picture, turned and stretched: only its 4 x 4 corner block is white.
    QImage image = filled(QSize(128, 128), qRgb(0, 0, 0));
    QPainter(&image).fillRect(0, 0, 4, 4, Qt::white);
    Options options = plainThreshold();
    options.fit = Fit::Stretch;
    options.rotation = rotation;
    const bootscreen::DisplayPicture picture = converted(image, options).picture;
    QCOMPARE(litBounds(picture), cornerAt);
}

void TestPictureConversion::ditherKeepsMeanBrightness_data()
{
    QTest::addColumn<dithering::Method>("method");
    QTest::addColumn<int>("grey");
    QTest::addColumn<double>("tolerance"); // of the lit share

    for (const int grey : {0, 20, 64, 128, 200, 255}) {
        QTest::addRow("Floyd-Steinberg, grey %d", grey)
            << dithering::Method::FloydSteinberg << grey << 0.01;
        QTest::addRow("Bayer, grey %d", grey) << dithering::Method::Bayer << grey << 1.0 / 64;
        // Atkinson drops a quarter of the error: faithful in the middle, lossy near the ends.
        QTest::addRow("Atkinson, grey %d", grey)
            << dithering::Method::Atkinson << grey << (grey % 255 == 0 ? 0.0 : 0.1);
    }
}

void TestPictureConversion::ditherKeepsMeanBrightness()
{
    QFETCH(dithering::Method, method);
    QFETCH(int, grey);
    QFETCH(double, tolerance);

    Options options;
    options.dither = method;
    options.fit = Fit::Stretch;
    const bootscreen::DisplayPicture picture =
        converted(filled(QSize(32, 128), qRgb(grey, grey, grey)), options).picture;
    const double litShare = picture.litCount() / 4096.0;
    QVERIFY2(
        qAbs(litShare - grey / 255.0) <= tolerance,
        qPrintable(QStringLiteral("%1 of the pixels lit for grey %2").arg(litShare).arg(grey)));
}

void TestPictureConversion::reductionAveragesTheSourceArea_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<double>("level"); // expected at every display pixel

    // One-pixel checkerboard eight times the screen: any sampling shows black or white.
    QImage checkerboard(256, 1024, QImage::Format_RGB32);
    for (int y = 0; y < checkerboard.height(); ++y)
        for (int x = 0; x < checkerboard.width(); ++x)
            checkerboard.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    QTest::newRow("checkerboard reduced 8 times is mid-grey") << checkerboard << 127.5;
    // Rec. 601 weights, each channel alone at full strength.
    QTest::newRow("pure red") << filled(QSize(64, 256), qRgb(255, 0, 0)) << 76.245;
    QTest::newRow("pure green") << filled(QSize(64, 256), qRgb(0, 255, 0)) << 149.685;
    QTest::newRow("pure blue") << filled(QSize(64, 256), qRgb(0, 0, 255)) << 29.07;
    QTest::newRow("half transparent white on black")
        << filled(QSize(32, 128), qRgba(255, 255, 255, 128)) << 128.0;
}

void TestPictureConversion::reductionAveragesTheSourceArea()
{
    QFETCH(QImage, image);
    QFETCH(double, level);

    Options options;
    options.fit = Fit::Stretch;
    const dithering::GreyLevels levels = imageconversion::pictureLevels(image, options).levels;
    for (size_t i = 0; i < levels.size(); ++i)
        QVERIFY2(qAbs(levels[i] - level) < 1e-6,
                 qPrintable(QStringLiteral("pixel %1 is %2").arg(i).arg(levels[i])));
}

QTEST_GUILESS_MAIN(TestPictureConversion)
#include "tst_pictureconversion.moc"
