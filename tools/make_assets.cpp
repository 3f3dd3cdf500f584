// velmora_make_assets <outdir>: draws every picture and synthesises every
// sound that the game reads from data/. The output is the same on every run.
#include <cstdio>
#include <string>

#include "platform/data_files.h"
#include "asset_art.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora_make_assets <outdir>\n");
        return 2;
    }
    const std::string dir = argv[1];
    auto out = [&](DataFile file, const Image& image) {
        writeBmp(dir + "/" + dataFileName(file), image);
    };

    // Each field, and the piece of it that is drawn over the power bar's
    // cover at (750, 610), cut from the same pixels so that it is seamless.
    for (int kind = 1; kind <= 4; ++kind) {
        const Image field = drawField(kind);
        out(kFieldFiles[kind - 1][0], field);
        out(kFieldFiles[kind - 1][1],
            field.crop(layout::kPatchX, layout::kPatchY, layout::kPatchW, layout::kPatchH));
    }

    out(DATA_CPU_FIGURE, drawCpuFigure());
    out(DATA_PLAYER_FIGURE, drawPlayerFigure());
    out(DATA_BALL, drawBall());
    out(DATA_BALL_SHADOW, drawBallShadow());
    out(DATA_CROSSHAIR, drawCrosshair());
    out(DATA_TARGET_WINDOW, drawTargetWindow());
    out(DATA_POWER_BAR, drawPowerBar());
    out(DATA_BAR_COVER, drawBarCover());

    out(DATA_MENU_MARKER, drawMenuMarker());
    out(DATA_TITLE, drawTitle());
    out(DATA_INTRO_CURTAIN, drawIntroCurtain());
    out(DATA_INTRO_LASERS, drawIntroLasers());
    out(DATA_CREDITS_LOGO, drawCreditsLogo());

    writeSounds(dir);

    // A file the game reads but nothing here draws would only show up as a
    // broken install. The font is copied from the system by the build.
    int missing = 0;
    for (int i = 0; i < DATA_FILE_COUNT; ++i) {
        if (i == DATA_FONT) continue;
        std::FILE* written = std::fopen((dir + "/" + dataFileName(DataFile(i))).c_str(), "rb");
        if (written) {
            std::fclose(written);
            continue;
        }
        std::fprintf(stderr, "velmora_make_assets: nothing draws %s\n", kDataFiles[i]);
        ++missing;
    }
    return missing ? 1 : 0;
}
