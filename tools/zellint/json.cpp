// JSON text and the changes of encoding for zellint; see json.h.
#include "json.h"

#include <stdio.h>

#include "profile_reader.h"

static void AppendUtf8(std::string &out, char16_t c) {
    if (c < 0x80) {
        out.push_back((char)c);
    } else if (c < 0x800) {
        out.push_back((char)(0xc0 | c >> 6));
        out.push_back((char)(0x80 | (c & 0x3f)));
    } else {
        out.push_back((char)(0xe0 | c >> 12));
        out.push_back((char)(0x80 | (c >> 6 & 0x3f)));
        out.push_back((char)(0x80 | (c & 0x3f)));
    }
}

std::string AnsiToUtf8(const std::string &ansi) {
    std::string out;
    for (unsigned char byte : ansi)
        AppendUtf8(out, AnsiToUnicode(byte));
    return out;
}

#ifdef _WIN32
std::string CommandLineToUtf8(const std::string &text) {
    return AnsiToUtf8(text);
}
std::string AnsiToFileName(const std::string &ansi) {
    return ansi;
}
#else
std::string CommandLineToUtf8(const std::string &text) {
    return text;
}
std::string AnsiToFileName(const std::string &ansi) {
    return AnsiToUtf8(ansi);
}
#endif

std::string JsonString(const std::string &utf8) {
    std::string out = "\"";
    for (unsigned char byte : utf8) {
        if (byte == '"' || byte == '\\') {
            out.push_back('\\');
            out.push_back((char)byte);
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out.push_back((char)byte);
        }
    }
    return out + "\"";
}
