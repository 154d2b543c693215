// Character stepping of two double-byte code pages, as CharNextA steps on a system that
// uses them: a lead byte takes the next byte with it unless that is the terminator. Shared
// by the launcher's unit tests and fuzzers.
#pragma once

// Code page 932: bytes 0x81-0x9f and 0xe0-0xfc lead a two-byte character.
inline const char *NextChar932(const char *p) {
    unsigned char c = (unsigned char)*p;
    if (c == 0)
        return p;
    bool lead = (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc);
    return lead && p[1] != '\0' ? p + 2 : p + 1;
}

// Code page 936: bytes 0x81-0xfe lead a two-byte character.
inline const char *NextChar936(const char *p) {
    unsigned char c = (unsigned char)*p;
    if (c == 0)
        return p;
    return c >= 0x81 && c <= 0xfe && p[1] != '\0' ? p + 2 : p + 1;
}
