// CInterstitial and the exported functions as games see them, with the Windows types the
// library's own code uses.
#pragma once
#include <windows.h>

#include <stddef.h>

#include "ZelInterstitial.h"

// The layout games were built against. The header holds the size and the two ends; these
// hold fields between, which a reorder of equal-sized fields would move at the same size.
static_assert(offsetof(CInterstitial, m_bLaunching) == 8, "layout");
static_assert(offsetof(CInterstitial, m_szProfilePath) == 16, "layout");
static_assert(offsetof(CInterstitial, m_nRegion) == 536, "layout");
static_assert(offsetof(CInterstitial, m_szGameName) == 540, "layout");
static_assert(offsetof(CInterstitial, m_szTamselUrl) == 2296, "layout");
static_assert(offsetof(CInterstitial, m_szUpsellUrl) == 5124, "layout");
