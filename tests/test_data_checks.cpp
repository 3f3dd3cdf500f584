// The header checks that stand between data/ and the library's loaders:
// hostile pictures and sounds of the kinds that crashed those loaders are
// refused with a reason, and whatever the checks let through loads.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/data_checks.h"
#include "platform/data_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

void put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}

void put32(Bytes& b, size_t at, uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// An uncompressed BMP with a 40-byte header, a full palette up to 8 bits
// and exactly its pixel rows; tests then spoil one field.
struct Bmp {
    int width = 4, height = 3, bits = 24;
    Bytes bytes() const {
        const uint32_t colours = bits <= 8 ? 1u << bits : 0;
        const uint32_t pixelsAt = 54 + colours * 4;
        // Rows of the width's size, also for a spoilt negative width (its
        // 32-bit wrap made a file of 1.6 GB, seconds of every run).
        const uint32_t row = (static_cast<uint32_t>(width < 0 ? -width : width) * bits + 31) / 32 * 4;
        const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
        Bytes b(pixelsAt + row * rows, 0x5A);
        b[0] = 'B';
        b[1] = 'M';
        put32(b, 2, static_cast<uint32_t>(b.size()));
        put32(b, 6, 0);
        put32(b, 10, pixelsAt);
        put32(b, 14, 40);
        put32(b, 18, static_cast<uint32_t>(width));
        put32(b, 22, static_cast<uint32_t>(height));
        put16(b, 26, 1);
        put16(b, 28, static_cast<uint32_t>(bits));
        put32(b, 30, 0);
        put32(b, 34, row * rows);
        for (size_t i = 38; i < 54; ++i) b[i] = 0;
        return b;
    }
};

// A RIFF WAVE: a format chunk and a data chunk of a few sample frames.
struct Wav {
    uint32_t tag = 1, channels = 1, rate = 22050, bits = 16;
    int blockAlign = -1;  // -1: channels * bits / 8
    uint32_t frames = 64;
    Bytes bytes() const {
        const uint32_t align =
            blockAlign >= 0 ? static_cast<uint32_t>(blockAlign) : channels * bits / 8;
        const uint32_t dataBytes = frames * (align ? align : 1);
        Bytes b(44 + dataBytes, 0);
        std::copy_n("RIFF", 4, b.begin());
        put32(b, 4, static_cast<uint32_t>(b.size() - 8));
        std::copy_n("WAVEfmt ", 8, b.begin() + 8);
        put32(b, 16, 16);
        put16(b, 20, tag);
        put16(b, 22, channels);
        put32(b, 24, rate);
        put32(b, 28, rate * align);
        put16(b, 32, align);
        put16(b, 34, bits);
        std::copy_n("data", 4, b.begin() + 36);
        put32(b, 40, dataBytes);
        return b;
    }
};

struct DataChecks : ::testing::Test {
    std::string dir;
    void SetUp() override {
        char pattern[] = "/tmp/velmora-checks.XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        dir = pattern;
    }
    void TearDown() override {
        for (const std::string& f : written) std::remove(f.c_str());
        rmdir(dir.c_str());
    }
    std::vector<std::string> written;
    std::string write(const Bytes& b, const char* name) {
        std::string path = dir + "/" + name;
        std::FILE* out = std::fopen(path.c_str(), "wb");
        std::fwrite(b.data(), 1, b.size(), out);
        std::fclose(out);
        written.push_back(path);
        return path;
    }
    // The reason the picture is refused, or "" when it passes.
    std::string picture(const Bytes& b, bool fullScreen = false) {
        std::string why;
        return checkPictureFile(write(b, "p.bmp").c_str(), fullScreen, why) ? "" : why;
    }
    std::string sound(const Bytes& b) {
        std::string why;
        return checkSoundFile(write(b, "s.wav").c_str(), why) ? "" : why;
    }
};

}  // namespace

TEST_F(DataChecks, EveryGeneratedFilePasses) {
    for (const char* path : kDataFiles) {
        std::string why;
        const std::string name = path;
        if (name.compare(name.size() - 4, 4, ".bmp") == 0) {
            EXPECT_TRUE(checkPictureFile(path, isFullScreenPicture(path), why)) << path << ": " << why;
        } else if (name.compare(name.size() - 4, 4, ".wav") == 0) {
            EXPECT_TRUE(checkSoundFile(path, why)) << path << ": " << why;
        }
    }
    EXPECT_TRUE(isFullScreenPicture("data/VMFeldRas.bmp"));
    EXPECT_TRUE(isFullScreenPicture("data/screen2.bmp"));
    EXPECT_FALSE(isFullScreenPicture("data/VMFeldRasDecker.bmp"));
    EXPECT_FALSE(isFullScreenPicture("data/Velmora.bmp"));
}

TEST_F(DataChecks, PicturesThatPassAlsoLoad) {
    // Top-down rows, every bit depth, the largest side, a bitfield 32-bit one.
    std::vector<Bytes> good = {Bmp{4, 3, 24}.bytes(), Bmp{5, -3, 24}.bytes(), Bmp{9, 2, 1}.bytes(),
                               Bmp{7, 2, 4}.bytes(),  Bmp{3, 3, 8}.bytes(),   Bmp{3, 3, 16}.bytes(),
                               Bmp{3, 3, 32}.bytes(), Bmp{4096, 1, 24}.bytes()};
    Bytes masks = Bmp{2, 2, 32}.bytes();
    put32(masks, 30, 3);  // bitfields: three masks after the header
    masks.insert(masks.begin() + 54, 12, 0);
    put32(masks, 10, 66);
    put32(masks, 54, 0xFF0000);
    put32(masks, 58, 0xFF00);
    put32(masks, 62, 0xFF);
    good.push_back(masks);
    for (const Bytes& b : good) {
        ASSERT_EQ("", picture(b)) << "bits " << int{b[28]};
        SDL_Surface* s = SDL_LoadBMP(written.back().c_str());
        ASSERT_NE(nullptr, s) << SDL_GetError();
        SDL_FreeSurface(s);
    }
}

TEST_F(DataChecks, HostileDimensionsAreRefused) {
    Bytes b = Bmp{4, 1, 24}.bytes();
    put32(b, 22, 0x80000000u);  // height -2^31 over a one-row file, 246 bytes like the attack's
    b.resize(246, 0);
    EXPECT_NE("", picture(b));
    put32(b, 18, 51);  // the 51-px-wide variant
    EXPECT_NE("", picture(b));
    for (Bmp bad : {Bmp{0, 3}, Bmp{-4, 3}, Bmp{4, 0}, Bmp{4097, 1}, Bmp{1, 4097}, Bmp{1, -4097}})
        EXPECT_NE("", picture(bad.bytes())) << bad.width << "x" << bad.height;
}

TEST_F(DataChecks, DepthPlanesAndCompressionOutsideWhatLoadsAreRefused) {
    for (uint32_t bits : {0u, 2u, 15u, 64u}) {
        Bytes b = Bmp{4, 4, 24}.bytes();
        put16(b, 28, bits);
        EXPECT_NE("", picture(b)) << bits << " bits";
    }
    Bytes planes = Bmp{}.bytes();
    put16(planes, 26, 2);
    EXPECT_NE("", picture(planes));
    Bytes rle = Bmp{4, 4, 8}.bytes();
    put32(rle, 30, 1);
    EXPECT_NE("", picture(rle));
    Bytes header = Bmp{}.bytes();
    put32(header, 14, 200);
    EXPECT_NE("", picture(header));
}

TEST_F(DataChecks, PaletteAndPixelsMustBeInsideTheFile) {
    Bytes noPalette = Bmp{4, 4, 8}.bytes();
    put32(noPalette, 10, 54);  // pixels said to start right after the header
    EXPECT_NE("", picture(noPalette));
    Bytes tooManyColours = Bmp{4, 4, 8}.bytes();
    put32(tooManyColours, 46, 300);
    EXPECT_NE("", picture(tooManyColours));
    Bytes fewColours = Bmp{4, 4, 4}.bytes();
    put32(fewColours, 46, 2);  // a short palette that is there passes
    EXPECT_EQ("", picture(fewColours));

    Bytes shortPixels = Bmp{5, 3, 24}.bytes();
    shortPixels.pop_back();
    EXPECT_NE("", picture(shortPixels)) << "one byte short";
    Bytes pixelsPastEnd = Bmp{5, 3, 24}.bytes();
    put32(pixelsPastEnd, 10, 0xFFFFFF00u);
    EXPECT_NE("", picture(pixelsPastEnd));
    EXPECT_NE("", picture(Bytes{'B', 'M', 0, 0})) << "cut inside the header";
    EXPECT_NE("", picture(Bytes(100, 'x'))) << "no BMP at all";
}

TEST_F(DataChecks, FullScreenPicturesCoverTheScreen) {
    EXPECT_EQ("", picture(Bmp{1024, 768, 8}.bytes(), true));
    EXPECT_EQ("", picture(Bmp{1024, -768, 8}.bytes(), true));
    EXPECT_NE("", picture(Bmp{1023, 768, 8}.bytes(), true));
    EXPECT_NE("", picture(Bmp{1024, 767, 8}.bytes(), true));
    EXPECT_EQ("", picture(Bmp{1023, 767, 8}.bytes(), false)) << "a sprite may be any size";
}

TEST_F(DataChecks, SoundsOfTheKindsThatCrashedTheLoaderAreRefused) {
    Wav silent;
    silent.channels = 0;
    silent.rate = 0;
    EXPECT_NE("", sound(silent.bytes()));
    for (uint32_t rate : {1u, 100u, 300u, 7999u, 96001u}) {
        Wav low{1, 1, rate, 8};
        EXPECT_NE("", sound(low.bytes())) << rate << " Hz";
    }
    Wav ima{0x11, 1, 22050, 4};
    ima.blockAlign = 0;
    EXPECT_NE("", sound(ima.bytes()));
    EXPECT_NE("", sound(Wav{1, 3, 22050, 16}.bytes())) << "three channels";
    EXPECT_NE("", sound(Wav{1, 1, 22050, 24}.bytes())) << "24 bits";
    Wav misaligned;
    misaligned.blockAlign = 4;
    EXPECT_NE("", sound(misaligned.bytes()));
}

TEST_F(DataChecks, SoundChunksMustBeInOrderAndInsideTheFile) {
    Bytes b = Wav{}.bytes();
    put32(b, 40, 0x7FFFFFF0u);  // data said to run far past the end
    EXPECT_NE("", sound(b));
    Bytes noData = Wav{}.bytes();
    noData.resize(36);
    EXPECT_NE("", sound(noData));
    Bytes dataFirst = Wav{}.bytes();
    std::copy_n("data", 4, dataFirst.begin() + 12);
    put32(dataFirst, 16, 0);
    EXPECT_NE("", sound(dataFirst));
    Wav empty;
    empty.frames = 0;
    EXPECT_NE("", sound(empty.bytes()));
    EXPECT_NE("", sound(Bytes(64, 'x')));
}

TEST_F(DataChecks, SoundsThatPassAlsoLoad) {
    ASSERT_EQ(0, Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048)) << Mix_GetError();
    // A chunk of its own before the format is skipped.
    Bytes listFirst = Wav{1, 2, 8000, 8}.bytes();
    const Bytes list = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'a', 'b', 'c', 'd'};
    listFirst.insert(listFirst.begin() + 12, list.begin(), list.end());
    for (const Bytes& b : {Wav{1, 1, 8000, 8}.bytes(), Wav{1, 2, 96000, 16}.bytes(),
                           Wav{1, 1, 44100, 16}.bytes(), listFirst}) {
        ASSERT_EQ("", sound(b));
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(written.back().c_str(), "rb"), 1);
        EXPECT_NE(nullptr, chunk) << Mix_GetError();
        if (chunk) Mix_FreeChunk(chunk);
    }
    Mix_CloseAudio();
}

TEST_F(DataChecks, AProblemEndsTheGameNamingTheFile) {
    Bytes b = Bmp{}.bytes();
    put16(b, 28, 2);
    const std::string path = write(b, "Ball.bmp");
    EXPECT_EXIT(checkDataFileOrExit(path.c_str()), ::testing::ExitedWithCode(1),
                "^" + path + ": bit depth 2 \\(1, 4, 8, 16, 24 or 32 expected\\)\n$");
    Bytes w = Wav{1, 1, 300, 8}.bytes();
    const std::string wav = write(w, "PL1.wav");
    EXPECT_EXIT(checkDataFileOrExit(wav.c_str()), ::testing::ExitedWithCode(1),
                "^" + wav + ": sample rate 300 Hz");
}
