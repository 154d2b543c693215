// The game's information address, built from string 1 and the game name.
#include "info_url.h"

#include "../common/text.h"

bool BuildInfoUrl(char *url, size_t size, const char *gameName) {
    bool complete = AppendText(url, size, "?src=LumoraInterstitial&GameName=");
    complete = AppendText(url, size, gameName) && complete;
    ReplaceChar(url, ' ', '_');
    ReplaceChar(url, '~', '_');
    return complete;
}
