// PNG previews of the generated art, made from the files that the library embeds.
#pragma once

#include <string>

namespace art {

// Reads the art folder and writes background_24.png, background_8.png, exit_overlay_24.png,
// exit_overlay_8.png, hand_cursor.png (8 times enlarged, transparent where the cursor is)
// and dialog_exit.png (the background with the exit overlay copied over button 3) to outDir,
// creating outDir when it does not exist.
bool WritePreviews(const std::string &artDir, const std::string &outDir, std::string *error);

} // namespace art
