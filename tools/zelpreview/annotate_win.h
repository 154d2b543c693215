// The pictures zelpreview makes from the faces: the hot zones outlined and explained, and
// a contact sheet of many games.
#pragma once

#include <string>
#include <vector>

#include "dialog_capture.h"

// The addresses the library would hand the browser, as its own members give them.
struct ZoneAddresses {
    std::string info;   // GetTamselUrl
    std::string upsell; // GetUpsellUrl
    std::string home;   // the portal home the logo opens
};

// The face with each hot zone's rectangle outlined on its exact bounds, numbered, and a legend
// below it saying what a click there does.
Capture ZonesPicture(const Capture &face, bool atExit, const ZoneAddresses &addresses);

struct SheetEntry {
    std::string caption;
    Capture start, exit;
};

// One tile per entry, top to bottom: its caption over its start and exit faces at full size.
Capture ContactSheet(const std::vector<SheetEntry> &entries);
