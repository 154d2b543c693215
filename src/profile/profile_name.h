// The profile's file name, kept once: the library, the portal's command line and zellint.
#pragma once

// The game's profile, beside the game's executable.
constexpr char kProfileFileName[] = "launch.ini";
