#pragma once

// Screen readers know a top-level window of the program by its role. Qt gives a window made from a
// plain widget (the full-size picture, the overview) the role of a client area, which assistive
// technology does not list as a window; Install makes such windows windows. Installed once, before
// the windows are made.
namespace AccessibleWindows {
void Install();
} // namespace AccessibleWindows
