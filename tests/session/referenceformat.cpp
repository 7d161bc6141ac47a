#include "referenceformat.h"

namespace reference {

int entryOf(int column, int row)
{
    const int band = 3 - column / 8; // band 0 holds the rightmost eight columns
    return 128 * band + row;
}

int maskOf(int column)
{
    return 128 >> (column % 8);
}

bootscreen::ScreenBuffer pack(const Cells &cells)
{
    bootscreen::ScreenBuffer buffer{};
    for (int column = 0; column < Columns; ++column)
        for (int row = 0; row < Rows; ++row)
            if (cells[column][row])
                buffer[entryOf(column, row)] |= maskOf(column);
    return buffer;
}

Cells unpack(const bootscreen::ScreenBuffer &buffer)
{
    Cells cells{};
    for (int column = 0; column < Columns; ++column)
        for (int row = 0; row < Rows; ++row)
            cells[column][row] = (buffer[entryOf(column, row)] & maskOf(column)) != 0;
    return cells;
}

QByteArray fileBytes(const bootscreen::ScreenBuffer &buffer)
{
    QByteArray bytes;
    for (qint32 value : buffer)
        bytes += QByteArray::number(value) + "\r\n";
    return bytes;
}

static bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

qint32 lineValue(const QByteArray &content)
{
    int at = 0;
    while (at < content.size() && isCSpace(content[at]))
        ++at;
    bool negative = false;
    if (at < content.size() && (content[at] == '+' || content[at] == '-'))
        negative = content[at++] == '-';
    const int firstDigit = at;
    qint64 value = 0;
    while (at < content.size() && content[at] >= '0' && content[at] <= '9')
        value = value * 10 + (content[at++] - '0');
    if (at == firstDigit || at != content.size())
        return 0;
    return static_cast<qint32>(negative ? -value : value);
}

int readInto(const QByteArray &bytes, bootscreen::ScreenBuffer &buffer, qint64 byteCap)
{
    const QByteArray seen = bytes.left(static_cast<int>(qMin<qint64>(bytes.size(), byteCap)));
    int start = 0;
    int taken = 0;
    for (int line = 0; line < bootscreen::EntryCount; ++line) {
        const int lineFeed = seen.indexOf('\n', start);
        if (lineFeed < 0)
            break; // a last line without LF, and everything after the end, stay as they are
        QByteArray content = seen.mid(start, lineFeed - start);
        if (content.endsWith('\r'))
            content.chop(1);
        if (!content.isEmpty() && content.size() <= 3) {
            buffer[line] = lineValue(content);
            ++taken;
        }
        start = lineFeed + 1;
    }
    return taken;
}

} // namespace reference
