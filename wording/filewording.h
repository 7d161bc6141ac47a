#pragma once

#include <cstddef>
#include <string>

// How the conversion's and the readers' own findings read, in English, for every front end.
namespace filewording {

// How a front end names its options: as typed on the command line (--invert, --background
// white) or by the words of its controls (Invert, Background: White).
enum class Naming { CommandLine, Controls };

// The warning for a picture that is not flat but came out all dark (or all lit), without a
// full stop: "the result is all dark; try --invert or --background white".
std::string blankResult(bool allLit, Naming naming);

// A picture whose pixels, decoded, would take more than the limit of `megabytes`.
std::string tooLarge(int width, int height, int megabytes);

// A file of which no line is a boot screen entry, as the tool and the studio say it.
std::string notABootScreenFile();

// A link whose part after # is not a screen that tbs or the studio put there: damaged, cut short
// or from another program.
std::string notAScreenLink();

// A base (the page a link opens) too long for the link to stay within its limit, named as the
// option that gives it or as the page's own address.
std::string linkBaseTooLong(std::size_t length, Naming naming);

} // namespace filewording
