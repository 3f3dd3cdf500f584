// Placeholder generator: plain coloured images and a beep, replaced by the
// real artwork generator.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

static void put16(std::FILE* f, uint16_t v) { std::fputc(v & 255, f); std::fputc(v >> 8, f); }
static void put32(std::FILE* f, uint32_t v) { put16(f, v & 0xffff); put16(f, v >> 16); }

static void bmp(const std::string& path, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    int row = (w * 3 + 3) & ~3;
    std::fputs("BM", f); put32(f, 54 + row * h); put32(f, 0); put32(f, 54);
    put32(f, 40); put32(f, w); put32(f, h); put16(f, 1); put16(f, 24); put32(f, 0);
    put32(f, row * h); put32(f, 2835); put32(f, 2835); put32(f, 0); put32(f, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) { std::fputc(b, f); std::fputc(g, f); std::fputc(r, f); }
        for (int p = w * 3; p < row; ++p) std::fputc(0, f);
    }
    std::fclose(f);
}

static void wav(const std::string& path, double freq) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    int n = 4410;
    std::fputs("RIFF", f); put32(f, 36 + n * 2); std::fputs("WAVEfmt ", f);
    put32(f, 16); put16(f, 1); put16(f, 1); put32(f, 44100); put32(f, 88200); put16(f, 2); put16(f, 16);
    std::fputs("data", f); put32(f, n * 2);
    for (int i = 0; i < n; ++i) put16(f, (uint16_t)(int16_t)(8000 * std::sin(i * freq * 6.283 / 44100)));
    std::fclose(f);
}

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::string d = argv[1];
    const char* fields[] = {"VMFeld", "VMFeldCelSh", "VMFeldStr", "VMFeldRas"};
    for (int i = 0; i < 4; ++i) {
        bmp(d + "/" + fields[i] + ".bmp", 1024, 768, 30, (uint8_t)(120 + 30 * i), 40);
        bmp(d + "/" + fields[i] + "Decker.bmp", 274, 40, 30, (uint8_t)(120 + 30 * i), 40);
    }
    bmp(d + "/Fadenkreuz.bmp", 50, 50, 255, 0, 0);
    bmp(d + "/MiniBall.bmp", 40, 40, 255, 200, 0);
    bmp(d + "/Velmora.bmp", 400, 200, 200, 0, 0);
    bmp(d + "/screen2.bmp", 1024, 768, 0, 0, 120);
    bmp(d + "/Laser.bmp", 1024, 768, 255, 255, 0);
    bmp(d + "/VelmoraMini.bmp", 200, 100, 200, 0, 0);
    bmp(d + "/TestFigur1.bmp", 120, 100, 200, 30, 30);
    bmp(d + "/TestFigur2.bmp", 120, 100, 30, 30, 200);
    bmp(d + "/Ball.bmp", 50, 50, 250, 250, 250);
    bmp(d + "/Ballschatten.bmp", 50, 50, 0, 0, 0);
    bmp(d + "/SchFenster.bmp", 500, 450, 250, 200, 200);
    bmp(d + "/Leiste.bmp", 450, 40, 255, 0, 0);
    bmp(d + "/Leistendecker.bmp", 450, 36, 40, 40, 40);
    const char* sounds[] = {"LadeOK", "Schuss", "BlockPl1", "BlockPl2", "PL1", "PL2"};
    for (int i = 0; i < 6; ++i) wav(d + "/" + sounds[i] + ".wav", 300 + 100 * i);
    return 0;
}
