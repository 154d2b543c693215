// Bounded text operations for the fixed-size fields.
#include "text.h"

#include <string.h>

const char *NextByte(const char *p) {
    return *p != '\0' ? p + 1 : p;
}

bool CopyText(char *dest, size_t size, const char *src) {
    if (size == 0)
        return false;
    dest[0] = '\0';
    return AppendText(dest, size, src);
}

bool AppendText(char *dest, size_t size, const char *src) {
    if (size == 0)
        return false;
    size_t used = strnlen(dest, size);
    if (used >= size) { // not terminated inside its field: terminate it at the end
        dest[size - 1] = '\0';
        return false;
    }
    if (src == NULL)
        return true;
    size_t room = size - 1 - used;
    size_t length = strlen(src);
    size_t taken = length < room ? length : room;
    memcpy(dest + used, src, taken);
    dest[used + taken] = '\0';
    return taken == length;
}

void ReplaceChar(char *text, char from, char to) {
    for (; *text != '\0'; text++) {
        if (*text == from)
            *text = to;
    }
}

bool FormatWithOneText(char *out, size_t size, const char *format, const char *arg) {
    if (size == 0)
        return false;
    size_t used = 0;
    bool argUsed = false;
    bool complete = true;
    if (arg == NULL)
        arg = "";
    for (const char *p = format; *p != '\0';) {
        const char *piece = p;
        size_t pieceLength = 1;
        if (p[0] == '%' && p[1] == '%') {
            pieceLength = 1; // "%%" gives one "%"
            p += 2;
        } else if (p[0] == '%' && p[1] == 's' && !argUsed) {
            piece = arg;
            pieceLength = strlen(arg);
            argUsed = true;
            p += 2;
        } else {
            p += 1;
        }
        size_t room = size - 1 - used;
        if (pieceLength > room) {
            memcpy(out + used, piece, room);
            used += room;
            complete = false;
            break;
        }
        memcpy(out + used, piece, pieceLength);
        used += pieceLength;
    }
    out[used] = '\0';
    return complete;
}
