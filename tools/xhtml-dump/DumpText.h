#pragma once

#include "base/ZString.h"
#include "xhtml/document/StyleValue.h"

#include <string>

// The text conventions shared by every dump, so expectations can be written against them:
// `\\`, `\"`, `\n`, `\r`, `\t`, and every other UTF-16 code unit below 0x20 or above 0x7E as
// `\uXXXX` (upper-case hex, one escape per code unit).
std::string escaped(const ZString& text);
// The escaped text in double quotes.
std::string quoted(const ZString& text);

// A property value as "kind value", then " %" for a percentage and " #" for a numeric
// background position.
std::string describe(const xhtml::StyleValue& value);

// A whole decimal number in the int range, as a command-line argument gives it.
bool readIntArgument(const char* text, int& out);

// A command-line argument (UTF-8) as text.
ZString argumentText(const char* argument);

// Reads a UTF-8 file into `text` (a byte-order mark is kept as U+FEFF, malformed sequences become
// U+FFFD). Prints a message and returns false when the file cannot be read.
bool readUtf8File(const char* path, ZString& text);
