// The game's information address, built from string 1 and the game name.
#pragma once
#include <stddef.h>

// Appends "?src=LumoraInterstitial&GameName=" and the game name (as read, "~" included) to
// the base address in `url`, cut at the field's end, then turns every blank and "~" of the
// whole address into "_". Nothing else is escaped. Returns false when the address was cut.
bool BuildInfoUrl(char *url, size_t size, const char *gameName);
