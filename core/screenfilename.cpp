#include "screenfilename.h"

namespace bootscreen {

namespace {

// ASCII only: the extension has no other letters, and a UTF-8 byte of another letter never
// folds to one of them.
char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

bool isScreenFileName(std::string_view name)
{
    constexpr std::string_view Extension = ScreenFileExtension;
    if (name.size() < Extension.size() + 1)
        return false;
    const std::string_view ending = name.substr(name.size() - Extension.size() - 1);
    if (ending.front() != '.')
        return false;
    for (size_t i = 0; i < Extension.size(); ++i) {
        if (asciiLower(ending[i + 1]) != Extension[i])
            return false;
    }
    return true;
}

} // namespace bootscreen
