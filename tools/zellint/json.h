// JSON text for zellint's outputs.
#pragma once
#include <string>

// A JSON string of ANSI (code page 1252) text, written as UTF-8 with escapes.
std::string JsonString(const std::string &ansi);

// ANSI (code page 1252) text as UTF-8.
std::string AnsiToUtf8(const std::string &ansi);
