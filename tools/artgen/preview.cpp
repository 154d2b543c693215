// Decoding the embedded forms back to pixels and writing them as PNG files.
#include "preview.h"

#include <filesystem>
#include <system_error>

#include "bmp.h"
#include "cursor.h"
#include "fileio.h"
#include "imagefile.h"

namespace art {

namespace {

std::vector<uint8_t> ToRgba(const Image &image) {
    std::vector<uint8_t> rgba;
    rgba.reserve(image.pixels.size() * 4);
    for (Rgb p : image.pixels)
        rgba.insert(rgba.end(), {p.r, p.g, p.b, 255});
    return rgba;
}

bool LoadBmp(const std::string &path, Image *image, std::string *error) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, &bytes)) {
        *error = "cannot read " + path;
        return false;
    }
    if (!DecodeBmpFile(bytes, image, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}

bool WritePng(const std::string &path, int width, int height, const std::vector<uint8_t> &rgba,
              std::string *error) {
    if (!imagefile::WritePngFile(path, width, height, 4, rgba.data())) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace

bool WritePreviews(const std::string &artDir, const std::string &outDir, std::string *error) {
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        *error = "cannot create " + outDir + ": " + ec.message();
        return false;
    }
    const char *pictures[] = {kBackground24File, kBackground8File, kExitOverlay24File,
                              kExitOverlay8File};
    Image images[4];
    for (int i = 0; i < 4; ++i) {
        if (!LoadBmp(artDir + "/" + pictures[i], &images[i], error))
            return false;
        std::string name = pictures[i];
        name.replace(name.size() - 4, 4, ".png");
        if (!WritePng(outDir + "/" + name, images[i].width, images[i].height, ToRgba(images[i]),
                      error))
            return false;
    }

    // The dialog at game exit: the overlay's top-left 123 x 37 pixels at (361, 309).
    Image exitDialog = images[0];
    for (int y = 0; y < 37; ++y)
        for (int x = 0; x < 123; ++x)
            exitDialog.at(361 + x, 309 + y) = images[2].at(x, y);
    if (!WritePng(outDir + "/dialog_exit.png", exitDialog.width, exitDialog.height,
                  ToRgba(exitDialog), error))
        return false;

    std::vector<uint8_t> cursorBytes, cursor;
    int hotX = 0, hotY = 0;
    if (!ReadFileBytes(artDir + "/" + kCursorImageFile, &cursorBytes)) {
        *error = std::string("cannot read ") + kCursorImageFile;
        return false;
    }
    if (!DecodeCursorImage(cursorBytes, &cursor, &hotX, &hotY, error))
        return false;
    constexpr int kScale = 8;
    int side = kCursorSize * kScale;
    std::vector<uint8_t> big(size_t(side) * size_t(side) * 4, 0);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const uint8_t *p = &cursor[size_t((y / kScale) * kCursorSize + x / kScale) * 4];
            uint8_t *q = &big[size_t(y * side + x) * 4];
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
            q[3] = p[3];
            // The hotspot pixel gets a red frame, so its place can be checked by eye.
            bool inHot = x / kScale == hotX && y / kScale == hotY;
            bool edge = x % kScale == 0 || x % kScale == kScale - 1 || y % kScale == 0 ||
                        y % kScale == kScale - 1;
            if (inHot && edge) {
                q[0] = 255;
                q[1] = q[2] = 0;
                q[3] = 255;
            }
        }
    return WritePng(outDir + "/hand_cursor.png", side, side, big, error);
}

} // namespace art
