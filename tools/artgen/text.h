// Label text for the artwork, rendered with FreeType from a font file of the build machine.
#pragma once

#include <memory>
#include <string>

#include "raster.h"

namespace art {

class FontLibrary;

// One face at one pixel size. Glyphs are hinted lightly (vertically only) and anti-aliased.
class Font {
  public:
    ~Font();
    Font(const Font &) = delete;
    Font &operator=(const Font &) = delete;

    // Width of the text's advances in pixels, with extra spacing after each character.
    int Measure(const std::string &text, int tracking = 0) const;
    // Draws the text with its baseline at y and its pen starting at x.
    void Draw(Canvas &canvas, int x, int baseline, const std::string &text, Colour colour,
              float opacity = 1.0f, int tracking = 0) const;
    // Height of a capital letter above the baseline, in pixels.
    int CapHeight() const;

  private:
    friend class FontLibrary;
    struct Impl;
    explicit Font(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

class FontLibrary {
  public:
    FontLibrary();
    ~FontLibrary();
    FontLibrary(const FontLibrary &) = delete;
    FontLibrary &operator=(const FontLibrary &) = delete;

    bool ok() const;
    // Opens a face; returns null and says why in *error when the file cannot be used.
    std::unique_ptr<Font> Open(const std::string &path, int pixelSize, std::string *error);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace art
