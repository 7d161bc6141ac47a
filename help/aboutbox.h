#pragma once

#include <QString>

// The About box's plain text: the editor's name with the date and time this file was
// compiled (the compiler's __DATE__ and __TIME__), an empty line, who owns the program,
// another empty line, and whom to ask for help.
QString aboutBoxText();
