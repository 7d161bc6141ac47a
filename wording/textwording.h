#pragma once

#include "textlayout.h"

#include <string>

// How the errors of setting text read, in English.
namespace textwording {

// "'Ж' (U+0416)"; a character that prints nothing visible is named by its code point alone.
std::string character(char32_t codePoint);

// The error as one sentence without a full stop, e.g. "no bundled font has 'Ж' (U+0416)".
std::string message(const textlayout::Error &error);

} // namespace textwording
