#pragma once

// Gives every window that sets no icon of its own the program's icon. On Windows the
// platform already takes it from the executable's IDI_ICON1, so this does nothing there.
void installApplicationIcon();
