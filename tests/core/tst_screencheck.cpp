// The check's findings, as `tbs check` words them, for the files in data/check/: each NAME.tbs
// beside NAME.expected, the report for a file called FILE.

#include "checkwording.h"
#include "screencheck.h"

#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string readFile(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

TEST_CASE("the check's report for each golden file")
{
    const std::filesystem::path folder = std::filesystem::path(TARROW_CORE_TEST_DATA) / "check";
    int cases = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".tbs")
            continue;
        ++cases;
        CAPTURE(entry.path().filename().string());
        const screencheck::Check check = screencheck::checkScreen(readFile(entry.path()));
        std::string report;
        for (const screencheck::Finding &finding : check.findings)
            report += checkwording::report("FILE", finding) + "\n";
        std::filesystem::path expected = entry.path();
        expected.replace_extension(".expected");
        CHECK(report == readFile(expected));
    }
    CHECK(cases >= 5);
}
