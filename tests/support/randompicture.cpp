#include "randompicture.h"

QImage randomPicture(const QSize &size, RandomPixels pixels, QRandomGenerator &random)
{
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    const bool oneBit = pixels == RandomPixels::BlackWhite || pixels == RandomPixels::WhiteBlack;
    const QImage::Format format = oneBit                                ? QImage::Format_Mono
                                  : pixels == RandomPixels::CellColours ? QImage::Format_RGB32
                                                                        : QImage::Format_ARGB32;
    QImage picture(size, format);
    if (pixels == RandomPixels::BlackWhite)
        picture.setColorTable({black, white});
    if (pixels == RandomPixels::WhiteBlack)
        picture.setColorTable({white, black});
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            switch (pixels) {
            case RandomPixels::BlackWhite:
            case RandomPixels::WhiteBlack:
                picture.setPixel(x, y, random.bounded(2));
                break;
            case RandomPixels::CellColours:
                picture.setPixel(x, y,
                                 qRgb(random.bounded(256), random.bounded(256),
                                      random.bounded(3) * random.bounded(2)));
                break;
            case RandomPixels::Translucent:
                picture.setPixel(x, y,
                                 qRgba(random.bounded(256), random.bounded(256),
                                       random.bounded(256), random.bounded(2) ? 255 : 128));
                break;
            }
        }
    }
    return picture;
}

QImage randomPicture(const QSize &size, RandomPixels pixels, quint32 seed)
{
    QRandomGenerator random(seed);
    return randomPicture(size, pixels, random);
}
