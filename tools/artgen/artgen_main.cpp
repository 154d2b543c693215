// artgen: draws the library's pictures and hand cursor and writes the files the resources embed.
//
//   artgen --out DIR [--font-dir DIR] [--preview DIR]
//
// The output is the same bytes on every run with the same fonts and FreeType.
#include <cstdio>
#include <cstring>
#include <string>

#include "artwork.h"
#include "bmp.h"
#include "cursor.h"
#include "fileio.h"
#include "preview.h"
#include "quantize.h"

namespace {

int Fail(const std::string &message) {
    std::fprintf(stderr, "artgen: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    std::string outDir, previewDir, fontDir = "/usr/share/fonts/truetype/dejavu";
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 < argc && arg == "--out")
            outDir = argv[++i];
        else if (i + 1 < argc && arg == "--font-dir")
            fontDir = argv[++i];
        else if (i + 1 < argc && arg == "--preview")
            previewDir = argv[++i];
        else
            return Fail("usage: artgen --out DIR [--font-dir DIR] [--preview DIR]");
    }
    if (outDir.empty())
        return Fail("usage: artgen --out DIR [--font-dir DIR] [--preview DIR]");

    art::FontLibrary library;
    art::Fonts fonts;
    std::string error;
    if (!art::LoadFonts(library, fontDir, &fonts, &error))
        return Fail(error);

    struct Picture {
        const char *file24, *file8;
        art::Image image;
    } pictures[] = {
        {art::kBackground24File, art::kBackground8File, art::DrawBackground(fonts)},
        {art::kExitOverlay24File, art::kExitOverlay8File, art::DrawExitOverlay(fonts)},
    };
    for (const Picture &p : pictures) {
        art::IndexedImage reduced = art::QuantizeTo256(p.image);
        std::printf("artgen: %s -> %s: mean colour error %.3f\n", p.file24, p.file8,
                    art::MeanColourError(p.image, reduced));
        if (!art::WriteFileBytes(outDir + "/" + p.file24, art::EncodeBmp24(p.image)) ||
            !art::WriteFileBytes(outDir + "/" + p.file8, art::EncodeBmp8(reduced)))
            return Fail("cannot write into " + outDir);
    }
    if (!art::WriteFileBytes(outDir + "/" + art::kCursorImageFile,
                             art::EncodeCursorImage(art::HandCursorPixels())) ||
        !art::WriteFileBytes(outDir + "/" + art::kCursorGroupFile, art::EncodeCursorGroup()))
        return Fail("cannot write into " + outDir);

    if (!previewDir.empty() && !art::WritePreviews(outDir, previewDir, &error))
        return Fail(error);
    return 0;
}
