// Feeds arbitrary bytes to the core's reader and check, and holds them to each other and to the
// writer: any disagreement aborts, so the fuzzer reports logic faults as well as memory errors.

#include "bootscreenreader.h"
#include "bootscreenwriter.h"
#include "checkwording.h"
#include "screencheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    bootscreen::ScreenBuffer screen{};
    const bootscreen::ReadSummary summary = bootscreen::readScreen(bytes, screen);
    const screencheck::Check check = screencheck::checkScreen(bytes);
    if (check.takenLines != summary.takenLines)
        fail("the check and the reader count different taken lines");

    int previousLast = 0;
    for (const screencheck::Finding &finding : check.findings) {
        if (finding.firstLine <= previousLast || finding.lastLine < finding.firstLine ||
            finding.problems.empty())
            fail("findings overlap, run backwards or are empty");
        if (checkwording::message(finding).empty())
            fail("a finding has no words");
        previousLast = finding.lastLine;
    }
    // A file the check finds nothing wrong with is exactly what the writer makes of it.
    if (check.findings.empty() && bootscreen::formatScreen(screen) != bytes)
        fail("a file without findings differs from what the writer writes");

    // What the writer makes of the entries read back is read back alike, with nothing to report.
    bootscreen::ScreenBuffer lowBytes = screen;
    for (std::int32_t &entry : lowBytes)
        entry &= 0xff;
    const std::string written = bootscreen::formatScreen(lowBytes);
    bootscreen::ScreenBuffer again{};
    bootscreen::readScreen(written, again);
    if (again != lowBytes || !screencheck::checkScreen(written).findings.empty())
        fail("the writer's bytes do not read back as written");
    return 0;
}
