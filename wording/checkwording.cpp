#include "checkwording.h"

#include "bootscreenformat.h"
#include "bootscreenreader.h"

#include <cstdio>

namespace checkwording {

namespace {

using screencheck::Finding;
using screencheck::Problem;
using Kind = Problem::Kind;

std::string number(std::int64_t value)
{
    return std::to_string(value);
}

// A line's content for a message, its control characters spelled out.
std::string quoted(const std::string &content)
{
    std::string text = "'";
    for (const char byte : content) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '\r') {
            text += "\\r";
        } else if (byte == '\t') {
            text += "\\t";
        } else if (code < 0x20 || code >= 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", code);
            text += escaped;
        } else {
            text += byte;
        }
    }
    return text + "'";
}

// The entries of lines first to last (from 1) keep what they held.
std::string keptEntries(int firstLine, int lastLine)
{
    if (firstLine == lastLine)
        return "entry " + number(firstLine - 1) + " keeps its value";
    return "entries " + number(firstLine - 1) + " to " + number(lastLine - 1) +
           " keep their values";
}

std::string problemText(const Problem &problem, const Finding &finding)
{
    const bool several = finding.lastLine > finding.firstLine;
    const std::string kept = keptEntries(finding.firstLine, finding.lastLine);
    switch (problem.kind) {
    case Kind::BareCarriageReturn:
        return "bare CR (a CR without LF ends no line)";
    case Kind::NotANumber:
        return quoted(problem.content) + " is not a number: read as 0";
    case Kind::MinusSign:
        return quoted(problem.content) + " has a minus sign: read as " + number(problem.value) +
               ", the low byte " + number(problem.lowByte) + " is kept";
    case Kind::AboveByte:
        return quoted(problem.content) + " is above 255: the low byte " + number(problem.lowByte) +
               " is kept";
    case Kind::NotAsWritten:
        return quoted(problem.content) + " is read as " + number(problem.value) +
               "; the editor writes '" + number(problem.value) + "'";
    case Kind::NoLineEnd:
        return "the last line has no line end: skipped, " + kept;
    case Kind::EmptyLine:
        return std::string(several ? "empty lines" : "empty line") + ": skipped, " + kept;
    case Kind::LongLine:
        return std::string(several ? "lines" : "line") + " of " + number(problem.length) +
               " characters (at most " + number(bootscreen::MaxAcceptedContentLength) +
               " are read): skipped, " + kept;
    case Kind::LfWithoutCr:
        return "LF without CR (read alike; the editor writes CR LF)";
    case Kind::ByteCapReached:
        return "only the first " + number(problem.length) + " bytes are read";
    case Kind::EndsEarly:
        return "the file ends after " + number(problem.length) + " of " +
               number(bootscreen::EntryCount) +
               " lines: " + keptEntries(int(problem.length) + 1, bootscreen::EntryCount);
    case Kind::TextAfterLastEntry:
        return "text after line " + number(bootscreen::EntryCount) + " is not read";
    }
    return {};
}

} // namespace

std::string lines(const Finding &finding)
{
    if (finding.firstLine == finding.lastLine)
        return number(finding.firstLine);
    return number(finding.firstLine) + "-" + number(finding.lastLine);
}

std::string message(const Finding &finding)
{
    std::string text;
    for (const Problem &problem : finding.problems) {
        if (!text.empty())
            text += "; ";
        text += problemText(problem, finding);
    }
    return text;
}

std::string report(const std::string &file, const Finding &finding)
{
    return file + ":" + lines(finding) + ": " + message(finding);
}

} // namespace checkwording
