// The profile's file name, kept once: the library, the portal's command line and zellint.
#pragma once

// The game's profile, beside the game's executable.
constexpr char kProfileFileName[] = "launch.ini";

// A profile of this many bytes or fewer counts as missing.
constexpr unsigned kProfileUnusableBytes = 10;
