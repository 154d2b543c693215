// JSON text for zellint's outputs, and every change of encoding zellint makes: the profile's
// text is ANSI; the command line and file names are the system's (Windows: ANSI, else UTF-8).
#pragma once
#include <string>

// A JSON string of UTF-8 text, with escapes; it converts nothing.
std::string JsonString(const std::string &utf8);

// ANSI (code page 1252) text as UTF-8: what the profile holds, and every finding's message.
std::string AnsiToUtf8(const std::string &ansi);

// Text from the command line (a path) as UTF-8: Windows hands a program ANSI text, other
// systems UTF-8 already.
std::string CommandLineToUtf8(const std::string &text);

// A file name from the profile (ANSI) as the system spells it, for looking the file up.
std::string AnsiToFileName(const std::string &ansi);
