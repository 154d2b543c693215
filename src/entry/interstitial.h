// CInterstitial and the exported functions as games see them, with the Windows types the
// library's own code uses.
#pragma once
#include <windows.h>

#include "ZelInterstitial.h"
