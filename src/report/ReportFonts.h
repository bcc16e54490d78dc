#pragma once

// Report fonts resolve to metric twins installed with the program, so that a layout measures the
// same on every machine. Call once at start, after the application object exists.
namespace ReportFonts {
void Install();
// Whether Install has run.
bool Installed();
} // namespace ReportFonts
