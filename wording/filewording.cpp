#include "filewording.h"

#include "optiontable.h"
#include "screenlink.h"

namespace filewording {

namespace {

std::string named(const optiontable::Option &option, Naming naming)
{
    return naming == Naming::CommandLine ? "--" + option.name : option.label;
}

} // namespace

std::string blankResult(bool allLit, Naming naming)
{
    using optiontable::find;
    const optiontable::Option &invert = *find(optiontable::Convert, "invert");
    const optiontable::Option &background = *find(optiontable::Convert, "background");
    // The background that would show a dark logo is the other one: the first choice is black.
    const optiontable::Choice &other = background.choices[allLit ? 0 : 1];
    const std::string backgroundWords = naming == Naming::CommandLine
                                            ? named(background, naming) + " " + other.value
                                            : named(background, naming) + ": " + other.label;
    return std::string("the result is all ") + (allLit ? "lit" : "dark") + "; try " +
           named(invert, naming) + " or " + backgroundWords;
}

std::string tooLarge(int width, int height, int megabytes)
{
    return "too large: " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels is more than the image reader's limit of " + std::to_string(megabytes) + " MB";
}

std::string notABootScreenFile()
{
    return "not a boot screen file: no line of it is taken";
}

std::string notAScreenLink()
{
    return "the link holds no boot screen: its part after # is damaged, cut short or made by "
           "another program";
}

std::string linkBaseTooLong(std::size_t length, Naming naming)
{
    const std::string base = naming == Naming::CommandLine
                                 ? "--" + optiontable::find(optiontable::Link, "base")->name + " is"
                                 : std::string("the page's address is");
    return base + " " + std::to_string(length) +
           " characters long; a link to a screen allows at most " +
           std::to_string(screenlink::MaxBaseLength) + " before its #, so that it stays within " +
           std::to_string(screenlink::MaxLinkLength) + " characters";
}

} // namespace filewording
