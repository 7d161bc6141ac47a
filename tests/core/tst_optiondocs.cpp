// The manual page and the bash completion are written by hand; they must offer what the option
// table says the tool takes, or a user is told of options and values that do not exist.

#include "decimaltext.h"
#include "optiontable.h"

#include <doctest/doctest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string fileText(const std::string &path)
{
    std::ifstream file(path);
    REQUIRE_MESSAGE(file, path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::set<std::string> wordsOf(const std::string &text)
{
    std::set<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;)
        words.insert(word);
    return words;
}

// As roff spells a word: every hyphen escaped.
std::string roff(const std::string &text)
{
    return std::regex_replace(text, std::regex("-"), "\\-");
}

std::set<std::string> valuesOf(const optiontable::Option &option, bool inRoff)
{
    std::set<std::string> values;
    for (const optiontable::Choice &choice : option.choices)
        values.insert(inRoff ? roff(choice.value) : choice.value);
    return values;
}

const optiontable::Command documented[] = {optiontable::Convert, optiontable::Text,
                                           optiontable::Compare, optiontable::Link};
const char *const commandNames[] = {"convert", "text", "compare", "link"};

// Its fonts come from the tool itself (--list-fonts), in the page and in the completion alike.
bool valuesListedByTheTool(const optiontable::Option &option)
{
    return option.name == "font";
}

} // namespace

TEST_CASE("the manual page describes every option with its values and range")
{
    const std::vector<std::string> page = linesOf(fileText(TARROW_PACKAGING_DIR "/man/tbs.1.in"));
    for (const optiontable::Command command : documented) {
        for (const optiontable::Option *option : optiontable::optionsOf(command)) {
            CAPTURE(option->name);
            const std::string flag = "\\-\\-" + roff(option->name);
            bool described = false;
            for (size_t i = 1; i < page.size() && !described; ++i) {
                // An entry: a .TP line, then a heading that names the option first.
                const std::string &heading = page[i];
                const size_t at = heading.find(flag);
                if (page[i - 1] != ".TP" || at == std::string::npos)
                    continue;
                std::string entry;
                for (size_t j = i; j < page.size() && page[j] != ".TP" && page[j].rfind(".S", 0);
                     ++j)
                    entry += page[j] + "\n";
                bool matches = true;
                if (option->kind == optiontable::Kind::Choice && !valuesListedByTheTool(*option)) {
                    // .BR "\-\-fit contain" | cover | stretch | none
                    std::string rest = heading.substr(at + flag.size());
                    rest = std::regex_replace(rest, std::regex("[\"|]"), " ");
                    matches = wordsOf(rest) == valuesOf(*option, true);
                }
                if (option->kind == optiontable::Kind::Whole ||
                    option->kind == optiontable::Kind::Number) {
                    matches = entry.find(roff(decimaltext::spelled(option->minimum))) !=
                                  std::string::npos &&
                              entry.find(roff(decimaltext::spelled(option->maximum))) !=
                                  std::string::npos;
                }
                if (!option->defaultValue.empty() && option->kind != optiontable::Kind::Area)
                    matches = matches && entry.find("default") != std::string::npos &&
                              entry.find(roff(option->defaultValue)) != std::string::npos;
                described = matches;
            }
            CHECK_MESSAGE(described, "no entry of tbs(1) names --", option->name,
                          " with the table's values, range and default");
        }
    }
}

TEST_CASE("the bash completion offers every option and exactly the table's values")
{
    const std::string script = fileText(TARROW_PACKAGING_DIR "/completion/tbs");
    const std::vector<std::string> lines = linesOf(script);
    std::map<std::string, std::string> variables;
    const std::regex assignment("local (\\w+)='([^']*)'");
    for (std::sregex_iterator it(script.begin(), script.end(), assignment), end; it != end; ++it)
        variables[(*it)[1]] = (*it)[2];
    const std::regex compgen("compgen -W ['\"]([^'\"]*)['\"]");

    for (size_t c = 0; c < std::size(documented); ++c) {
        CAPTURE(commandNames[c]);
        // The options offered after a dash: `convert) COMPREPLY=($(compgen -W "…" …`.
        std::set<std::string> offered;
        for (const std::string &line : lines) {
            std::smatch words;
            if (line.find(std::string(commandNames[c]) + ") COMPREPLY") == std::string::npos ||
                !std::regex_search(line, words, compgen))
                continue;
            for (const std::string &word : wordsOf(words[1])) {
                if (word[0] == '$')
                    for (const std::string &each : wordsOf(variables[word.substr(1)]))
                        offered.insert(each);
                else
                    offered.insert(word);
            }
        }
        std::set<std::string> expected{"--help"};
        for (const optiontable::Option *option : optiontable::optionsOf(documented[c])) {
            expected.insert("--" + option->name);
            if (!option->shortName.empty())
                expected.insert("-" + option->shortName);
            if (option->kind != optiontable::Kind::Choice || valuesListedByTheTool(*option))
                continue;
            // The values after the option: a compgen list in its case branch.
            CAPTURE(option->name);
            bool listed = false;
            for (size_t i = 0; i < lines.size(); ++i) {
                if (!std::regex_search(
                        lines[i], std::regex("^\\s+(.*\\| )?--" + option->name + "( \\|.*)?\\)$")))
                    continue;
                for (size_t j = i + 1; j < lines.size() && lines[j].find(";;") == std::string::npos;
                     ++j) {
                    std::smatch words;
                    if (std::regex_search(lines[j], words, compgen) &&
                        wordsOf(words[1]) == valuesOf(*option, false))
                        listed = true;
                }
            }
            CHECK_MESSAGE(listed, "the completion does not offer the values of --", option->name);
        }
        CHECK(offered == expected);
    }
}
