#pragma once

// The modes of xhtml-dump. Each takes the arguments after the mode name, prints its dump to
// standard output and returns the exit status; kBadArguments makes main print the mode's usage
// line. A new mode is declared here, defined in its own source file and listed in main.cpp.

constexpr int kBadArguments = 2;

int dumpMarkup(int argc, char** argv);
int dumpEntities(int argc, char** argv);
int dumpStyle(int argc, char** argv);
int dumpSheet(int argc, char** argv);
int dumpUrl(int argc, char** argv);
int dumpTranslations(int argc, char** argv);
int dumpSubstituted(int argc, char** argv);
int dumpViews(int argc, char** argv);
int dumpLayout(int argc, char** argv);
