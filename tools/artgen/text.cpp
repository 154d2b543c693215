// FreeType glyph loading, kerning and blending of the anti-aliased glyph coverage.
#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace art {

struct FontLibrary::Impl {
    FT_Library library = nullptr;
};

struct Font::Impl {
    FT_Face face = nullptr;
};

FontLibrary::FontLibrary() : impl_(new Impl) {
    if (FT_Init_FreeType(&impl_->library) != 0)
        impl_->library = nullptr;
}

FontLibrary::~FontLibrary() {
    if (impl_->library)
        FT_Done_FreeType(impl_->library);
}

bool FontLibrary::ok() const {
    return impl_->library != nullptr;
}

std::unique_ptr<Font> FontLibrary::Open(const std::string &path, int pixelSize,
                                        std::string *error) {
    auto impl = std::make_unique<Font::Impl>();
    if (!impl_->library || FT_New_Face(impl_->library, path.c_str(), 0, &impl->face) != 0) {
        *error = "cannot open font " + path;
        return nullptr;
    }
    if (FT_Set_Pixel_Sizes(impl->face, 0, FT_UInt(pixelSize)) != 0) {
        FT_Done_Face(impl->face);
        *error = "cannot size font " + path;
        return nullptr;
    }
    return std::unique_ptr<Font>(new Font(std::move(impl)));
}

Font::Font(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Font::~Font() {
    FT_Done_Face(impl_->face);
}

namespace {

constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT;

// Calls visit(glyph slot, pen x in pixels) for every character, after kerning.
template <typename Visit>
int Walk(FT_Face face, const std::string &text, int tracking, Visit visit) {
    long pen = 0; // 26.6 fixed point
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        FT_UInt glyph = FT_Get_Char_Index(face, ch);
        if (previous && glyph && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern) == 0)
                pen += kern.x;
        }
        if (FT_Load_Glyph(face, glyph, kLoadFlags) != 0)
            continue;
        visit(face->glyph, int((pen + 32) >> 6));
        pen += face->glyph->advance.x + tracking * 64;
        previous = glyph;
    }
    return int((pen - tracking * 64 + 32) >> 6);
}

} // namespace

int Font::Measure(const std::string &text, int tracking) const {
    return Walk(impl_->face, text, tracking, [](FT_GlyphSlot, int) {});
}

void Font::Draw(Canvas &canvas, int x, int baseline, const std::string &text, Colour colour,
                float opacity, int tracking) const {
    Walk(impl_->face, text, tracking, [&](FT_GlyphSlot slot, int penX) {
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_LIGHT) != 0)
            return;
        const FT_Bitmap &bm = slot->bitmap;
        int left = x + penX + slot->bitmap_left, top = baseline - slot->bitmap_top;
        for (unsigned row = 0; row < bm.rows; ++row)
            for (unsigned col = 0; col < bm.width; ++col) {
                unsigned char a = bm.buffer[int(row) * bm.pitch + int(col)];
                if (a)
                    canvas.Blend(left + int(col), top + int(row), colour,
                                 opacity * float(a) / 255.0f);
            }
    });
}

int Font::CapHeight() const {
    FT_Face face = impl_->face;
    if (FT_Load_Char(face, 'H', kLoadFlags) != 0)
        return 0;
    return int((face->glyph->metrics.horiBearingY + 32) >> 6);
}

} // namespace art
