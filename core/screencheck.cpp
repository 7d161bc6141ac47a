#include "screencheck.h"

#include "bootscreenformat.h"
#include "bootscreenreader.h"

namespace screencheck {

namespace {

using bootscreen::LineReport;
using Kind = Problem::Kind;

Problem problem(Kind kind, std::string_view content = {})
{
    return Problem{kind, std::string(content)};
}

// What a taken line's content and value say, when they are not what the editor writes.
void addTakenLineProblems(const LineReport &report, std::vector<Problem> &problems)
{
    const std::int32_t value = report.value;
    if (report.bareCarriageReturn)
        problems.push_back(problem(Kind::BareCarriageReturn));
    if (!bootscreen::parseLineContent(report.start)) {
        problems.push_back(problem(Kind::NotANumber, report.start));
        return;
    }
    Problem found = problem(Kind::NotAsWritten, report.start);
    found.value = value;
    found.lowByte = value & 0xff;
    if (value < 0)
        found.kind = Kind::MinusSign;
    else if (value > 255)
        found.kind = Kind::AboveByte;
    else if (report.start == bootscreen::entryText(value))
        return;
    problems.push_back(found);
}

void addSkippedLineProblems(const LineReport &report, std::vector<Problem> &problems)
{
    if (report.ending == LineReport::Ending::None) {
        problems.push_back(problem(Kind::NoLineEnd));
    } else if (report.contentLength == 0) {
        problems.push_back(problem(Kind::EmptyLine));
    } else {
        Problem longLine = problem(Kind::LongLine);
        longLine.length = report.contentLength;
        problems.push_back(longLine);
    }
    if (report.bareCarriageReturn)
        problems.push_back(problem(Kind::BareCarriageReturn));
}

// Adds the line's problems, as a finding of its own or by extending the previous one.
void addFinding(Check &check, int line, std::vector<Problem> problems)
{
    if (problems.empty())
        return;
    if (!check.findings.empty()) {
        Finding &last = check.findings.back();
        if (last.lastLine + 1 == line && last.problems == problems) {
            last.lastLine = line;
            return;
        }
    }
    check.findings.push_back({line, line, std::move(problems)});
}

} // namespace

Check checkScreen(std::string_view bytes)
{
    Check check;
    bootscreen::ScreenBuffer screen{};
    const bootscreen::ReadSummary summary =
        bootscreen::readScreen(bytes, screen, [&check](const LineReport &report) {
            std::vector<Problem> problems;
            if (report.taken)
                addTakenLineProblems(report, problems);
            else
                addSkippedLineProblems(report, problems);
            if (report.ending == LineReport::Ending::Lf)
                problems.push_back(problem(Kind::LfWithoutCr));
            addFinding(check, report.number, std::move(problems));
        });
    check.takenLines = summary.takenLines;
    const int nextLine = summary.lines + 1;
    if (summary.reachedByteCap) {
        Problem capped = problem(Kind::ByteCapReached);
        capped.length = bootscreen::ReadByteCap;
        addFinding(check, nextLine, {capped});
    } else if (summary.lines < bootscreen::EntryCount) {
        Problem early = problem(Kind::EndsEarly);
        early.length = summary.lines;
        addFinding(check, nextLine, {early});
    }
    if (summary.textAfterLastEntry)
        addFinding(check, bootscreen::EntryCount + 1, {problem(Kind::TextAfterLastEntry)});
    return check;
}

} // namespace screencheck
