#include "generatedinputs.h"

#include <QColor>

namespace {

int uniform(std::mt19937 &rng, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(rng);
}

QByteArray randomLineContent(std::mt19937 &rng)
{
    static const char *const awkward[] = {
        "007", " 7", "+7", "7 ", "x",   "256", "999", "-1",    "1000", "",    "\t5", "\r7",
        "7\r", "+",  "-",  " ",  "-12", "ab",  "0x1", "12345", "\v9",  "+-1", "1 2", "00",
    };
    switch (uniform(rng, 0, 3)) {
    case 0:
    case 1:
        return QByteArray::number(uniform(rng, 0, 255));
    case 2:
        return QByteArray(awkward[uniform(rng, 0, int(std::size(awkward)) - 1)]);
    default: {
        static const char alphabet[] = "0123456789 +-\t\r\x00"
                                       "a";
        QByteArray content;
        const int length = uniform(rng, 1, 5);
        for (int i = 0; i < length; ++i)
            content += alphabet[uniform(rng, 0, int(sizeof alphabet) - 2)];
        return content;
    }
    }
}

QRgb nearThreshold(std::mt19937 &rng)
{
    // Sums of 381-385 straddle the rule "white from 383 on"; the rest are anywhere.
    if (uniform(rng, 0, 2) == 0)
        return qRgb(uniform(rng, 0, 255), uniform(rng, 0, 255), uniform(rng, 0, 255));
    const int sum = uniform(rng, 381, 385);
    const int red = uniform(rng, sum - 510, 255);
    const int rest = sum - qMax(red, 0);
    const int green = qBound(qMax(0, rest - 255), uniform(rng, 0, 255), qMin(255, rest));
    return qRgb(qMax(red, 0), green, rest - green);
}

bool isWhite(QRgb colour)
{
    return qRed(colour) + qGreen(colour) + qBlue(colour) >= 383;
}

} // namespace

QByteArray generateBootScreenFile(std::mt19937 &rng)
{
    QByteArray bytes;
    if (uniform(rng, 0, 2) == 0) {
        const QByteArray lineEnd = uniform(rng, 0, 1) ? "\r\n" : "\n";
        for (int i = 0; i < bootscreen::EntryCount; ++i)
            bytes += QByteArray::number(uniform(rng, 0, 255)) + lineEnd;
        return bytes;
    }
    const int lines = uniform(rng, 0, 3) == 0 ? uniform(rng, 0, 40) : uniform(rng, 480, 600);
    for (int i = 0; i < lines; ++i) {
        bytes += randomLineContent(rng);
        const int end = uniform(rng, 0, 19);
        bytes += end < 12 ? "\r\n" : end < 19 ? "\n" : "\r\r\n";
    }
    if (uniform(rng, 0, 3) == 0)
        bytes += randomLineContent(rng); // a last line without LF
    return bytes;
}

QImage generatePicture(std::mt19937 &rng)
{
    QSize size(160, 640);
    switch (uniform(rng, 0, 5)) {
    case 0:
        size = QSize(uniform(rng, 1, 200), uniform(rng, 1, 700));
        break;
    case 1:
        size = QSize(600, 100); // wider than the canvas: the canvas grows to 600 x 2022
        break;
    default:
        break;
    }
    if (uniform(rng, 0, 1) == 0) {
        QImage picture(size, QImage::Format_Mono);
        const bool whiteFirst = uniform(rng, 0, 1) == 0;
        picture.setColorTable(whiteFirst ? QVector<QRgb>{qRgb(255, 255, 255), qRgb(0, 0, 0)}
                                         : QVector<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)});
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                picture.setPixel(x, y, uniform(rng, 0, 1));
        return picture;
    }
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, nearThreshold(rng));
    return picture;
}

reference::Cells cellsOfPicture(const QImage &picture)
{
    reference::Cells cells{};
    for (int column = 0; column < reference::Columns; ++column)
        for (int row = 0; row < reference::Rows; ++row) {
            const QPoint at(5 * column + 1, 5 * row + 1);
            cells[column][row] = picture.valid(at) && isWhite(picture.pixel(at));
        }
    return cells;
}
