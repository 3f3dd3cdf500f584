// velmora_make_assets <outdir>: draws every picture and synthesises every
// sound that the game reads from data/. The output is the same on every run.
#include <cstdio>
#include <string>

#include "asset_art.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora_make_assets <outdir>\n");
        return 2;
    }
    const std::string dir = argv[1];
    auto out = [&](const char* name, const Image& image) { writeBmp(dir + "/" + name, image); };

    // Each field, and the piece of it that is drawn over the power bar's
    // cover at (750, 610), cut from the same pixels so that it is seamless.
    const char* const fields[4] = {"VMFeld", "VMFeldCelSh", "VMFeldStr", "VMFeldRas"};
    for (int kind = 1; kind <= 4; ++kind) {
        const Image field = drawField(kind);
        const std::string name = fields[kind - 1];
        out((name + ".bmp").c_str(), field);
        out((name + "Decker.bmp").c_str(),
            field.crop(layout::kPatchX, layout::kPatchY, layout::kPatchW, layout::kPatchH));
    }

    out("TestFigur1.bmp", drawCpuFigure());
    out("TestFigur2.bmp", drawPlayerFigure());
    out("Ball.bmp", drawBall());
    out("Ballschatten.bmp", drawBallShadow());
    out("Fadenkreuz.bmp", drawCrosshair());
    out("SchFenster.bmp", drawTargetWindow());
    out("Leiste.bmp", drawPowerBar());
    out("Leistendecker.bmp", drawBarCover());

    out("MiniBall.bmp", drawMenuMarker());
    out("Velmora.bmp", drawTitle());
    out("screen2.bmp", drawIntroCurtain());
    out("Laser.bmp", drawIntroLasers());
    out("VelmoraMini.bmp", drawCreditsLogo());

    writeSounds(dir);
    return 0;
}
