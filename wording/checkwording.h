#pragma once

#include "screencheck.h"

#include <string>

// How the findings of a boot screen check read, in English.
namespace checkwording {

// "12" for one line, "1-512" for a range.
std::string lines(const screencheck::Finding &finding);

// The problems of a finding, joined by "; ".
std::string message(const screencheck::Finding &finding);

// "FILE:LINES: message", as compilers and editors annotate.
std::string report(const std::string &file, const screencheck::Finding &finding);

} // namespace checkwording
