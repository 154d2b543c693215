// Whole-file reading and writing for the art tools and tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace art {

bool ReadFileBytes(const std::string &path, std::vector<uint8_t> *bytes);
bool WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes);

// The names of the generated files inside the art folder.
constexpr const char *kBackground24File = "background_24.bmp";
constexpr const char *kBackground8File = "background_8.bmp";
constexpr const char *kExitOverlay24File = "exit_overlay_24.bmp";
constexpr const char *kExitOverlay8File = "exit_overlay_8.bmp";
constexpr const char *kCursorImageFile = "hand_cursor_image.bin";
constexpr const char *kCursorGroupFile = "hand_cursor_group.bin";

} // namespace art
