#pragma once

namespace xhtml {

// The screen's DPI for the whole process: read once from the platform on first use. Every fixed
// pixel amount and style length is a 96-DPI value scaled by it.
int dpi();
// Tools and tests lay out at a chosen DPI; 0 reads the platform again on next use.
void setDpi(int value);

// dpi × v / 96 in integers, truncated toward zero, clamped to the int range.
int scale(int value);
double scaleDouble(double value);
double dpiFactor();

} // namespace xhtml
