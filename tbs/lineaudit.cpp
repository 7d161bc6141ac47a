#include "lineaudit.h"

#include "bootscreenformat.h"
#include "bootscreenreader.h"

namespace lineaudit {

namespace {

using bootscreen::LineReport;

// A line's content for a message, its control characters spelled out.
QString quoted(QByteArrayView content)
{
    QString text;
    for (const char byte : content) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '\r')
            text += QLatin1String("\\r");
        else if (byte == '\t')
            text += QLatin1String("\\t");
        else if (code < 0x20 || code >= 0x7f)
            text += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
        else
            text += QLatin1Char(byte);
    }
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString keptEntry(const LineReport &report)
{
    return QStringLiteral("entry %1 keeps its value").arg(report.number - 1);
}

// What a taken line's content and value say, when they are not what the editor writes.
QStringList takenLineProblems(const LineReport &report)
{
    QStringList problems;
    const std::int32_t value = report.value;
    const std::int32_t lowByte = value & 0xff;
    if (report.bareCarriageReturn)
        problems << QStringLiteral("bare CR (a CR without LF ends no line)");
    if (!bootscreen::parseLineContent(report.start)) {
        problems << QStringLiteral("%1 is not a number: read as 0").arg(quoted(report.start));
        return problems;
    }
    if (value < 0)
        problems << QStringLiteral("%1 has a minus sign: read as %2, the low byte %3 is kept")
                        .arg(quoted(report.start))
                        .arg(value)
                        .arg(lowByte);
    else if (value > 255)
        problems << QStringLiteral("%1 is above 255: the low byte %2 is kept")
                        .arg(quoted(report.start))
                        .arg(lowByte);
    else if (report.start != bootscreen::entryText(value))
        problems << QStringLiteral("%1 is read as %2; the editor writes '%2'")
                        .arg(quoted(report.start))
                        .arg(value);
    return problems;
}

QStringList skippedLineProblems(const LineReport &report)
{
    QStringList problems;
    if (report.ending == LineReport::Ending::None)
        problems
            << QStringLiteral("the last line has no line end: skipped, %1").arg(keptEntry(report));
    else if (report.contentLength == 0)
        problems << QStringLiteral("empty line: skipped, %1").arg(keptEntry(report));
    else
        problems << QStringLiteral("line of %1 characters (at most %2 are read): skipped, %3")
                        .arg(report.contentLength)
                        .arg(bootscreen::MaxAcceptedContentLength)
                        .arg(keptEntry(report));
    if (report.bareCarriageReturn)
        problems << QStringLiteral("bare CR (a CR without LF ends no line)");
    return problems;
}

QStringList lineProblems(const LineReport &report)
{
    QStringList problems = report.taken ? takenLineProblems(report) : skippedLineProblems(report);
    if (report.ending == LineReport::Ending::Lf)
        problems << QStringLiteral("LF without CR (read alike; the editor writes CR LF)");
    return problems;
}

} // namespace

Audit auditBootScreen(QIODevice &device)
{
    Audit audit;
    bootscreen::ScreenBuffer screen{};
    const bootscreen::ReadSummary summary =
        bootscreen::readScreen(device, screen, [&audit](const LineReport &report) {
            const QStringList problems = lineProblems(report);
            if (!problems.isEmpty())
                audit.findings.append({report.number, problems.join(QLatin1String("; "))});
        });
    audit.takenLines = summary.takenLines;
    if (summary.reachedByteCap)
        audit.findings.append(
            {summary.lines + 1,
             QStringLiteral("only the first %1 bytes are read").arg(bootscreen::ReadByteCap)});
    else if (summary.lines < bootscreen::EntryCount)
        audit.findings.append(
            {summary.lines + 1,
             QStringLiteral("the file ends after %1 of 512 lines: entries %2 to 511 keep their "
                            "values")
                 .arg(summary.lines)
                 .arg(summary.lines)});
    if (summary.textAfterLastEntry)
        audit.findings.append(
            {bootscreen::EntryCount + 1, QStringLiteral("text after line 512 is not read")});
    return audit;
}

} // namespace lineaudit
