#include "platform/data_checks.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/data_files.h"
#include "platform/i_system.h"

namespace {

struct OpenFile {
    std::FILE* in = nullptr;
    uint64_t size = 0;
    explicit OpenFile(const char* path) : in(std::fopen(path, "rb")) {
        if (in && std::fseek(in, 0, SEEK_END) == 0) {
            const long end = std::ftell(in);
            size = end > 0 ? static_cast<uint64_t>(end) : 0;
        }
    }
    ~OpenFile() {
        if (in) std::fclose(in);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    // Reads up to count bytes at offset; returns how many it got.
    size_t readAt(uint64_t offset, unsigned char* out, size_t count) {
        if (!in || offset > static_cast<uint64_t>(LONG_MAX) ||
            std::fseek(in, static_cast<long>(offset), SEEK_SET) != 0)
            return 0;
        return std::fread(out, 1, count, in);
    }
};

uint32_t le16(const unsigned char* b) { return static_cast<uint32_t>(b[0] | b[1] << 8); }

uint32_t le32(const unsigned char* b) {
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

bool refuse(std::string& why, const char* format, long long a = 0, long long b = 0,
            long long c = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c);
    why = text;
    return false;
}

bool endsWith(const char* text, const char* ending) {
    const size_t n = std::strlen(text), m = std::strlen(ending);
    return n >= m && std::strcmp(text + n - m, ending) == 0;
}

constexpr uint32_t kBiRgb = 0, kBiBitfields = 3;
constexpr uint32_t kOs2HeaderSize = 12;

}  // namespace

bool checkPictureFile(const char* path, bool fullScreen, std::string& why) {
    OpenFile file(path);
    if (!file.in) return refuse(why, "cannot be opened");
    // File header, the largest info header, its colour masks and a palette.
    unsigned char head[14 + 124 + 12 + 256 * 4] = {};
    const size_t got = file.readAt(0, head, sizeof head);
    if (got < 18 || head[0] != 'B' || head[1] != 'M') return refuse(why, "not a BMP picture");

    const uint64_t pixelsAt = le32(head + 10);
    const uint32_t headerSize = le32(head + 14);
    if (headerSize != kOs2HeaderSize && (headerSize < 40 || headerSize > 124))
        return refuse(why, "unknown BMP header of %lld bytes", headerSize);
    if (got < 14 + headerSize) return refuse(why, "the file ends inside its header");

    int64_t width, height;
    uint32_t planes, bits, compression = kBiRgb, colours = 0;
    if (headerSize == kOs2HeaderSize) {
        width = le16(head + 18);
        height = le16(head + 20);
        planes = le16(head + 22);
        bits = le16(head + 24);
    } else {
        width = static_cast<int32_t>(le32(head + 18));
        height = static_cast<int32_t>(le32(head + 22));
        planes = le16(head + 26);
        bits = le16(head + 28);
        compression = le32(head + 30);
        colours = le32(head + 46);
    }
    // A negative height means rows top-down; its size is what counts.
    const int64_t rows = height < 0 ? -height : height;
    if (width < 1 || width > kMaxPictureSide || rows < 1 || rows > kMaxPictureSide)
        return refuse(why, "width %lld and height %lld are outside 1 to %lld", width, height,
                      kMaxPictureSide);
    if (planes != 1) return refuse(why, "%lld colour planes (1 expected)", planes);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return refuse(why, "bit depth %lld (1, 4, 8, 16, 24 or 32 expected)", bits);
    const bool masks = compression == kBiBitfields && (bits == 16 || bits == 32);
    if (compression != kBiRgb && !masks)
        return refuse(why, "compressed pixels (method %lld); only uncompressed pictures load",
                      compression);
    if (fullScreen && (width < kScreenWidth || rows < kScreenHeight))
        return refuse(why, "%lldx%lld is smaller than the screen it must cover (1024x768)", width,
                      rows);

    uint64_t headerEnd = 14 + uint64_t{headerSize} + (masks && headerSize == 40 ? 12 : 0);
    if (bits <= 8) {
        const uint32_t most = 1u << bits;
        if (colours == 0) colours = most;
        if (colours > most)
            return refuse(why, "a palette of %lld colours for %lld bits a pixel (at most %lld)",
                          colours, bits, most);
        headerEnd += uint64_t{colours} * (headerSize == kOs2HeaderSize ? 3 : 4);
        if (headerEnd > pixelsAt || headerEnd > file.size)
            return refuse(why, "the palette of %lld colours is missing", colours);
    }
    if (pixelsAt < headerEnd || pixelsAt > file.size)
        return refuse(why, "the pixel data is said to start at byte %lld, not within %lld to %lld",
                      static_cast<long long>(pixelsAt), static_cast<long long>(headerEnd),
                      static_cast<long long>(file.size));
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    const uint64_t pixelBytes = rowBytes * static_cast<uint64_t>(rows);
    if (pixelsAt + pixelBytes > file.size)
        return refuse(why, "the pixel data runs past the end of the file (%lld bytes needed, %lld there)",
                      static_cast<long long>(pixelBytes),
                      static_cast<long long>(file.size - pixelsAt));
    return true;
}

bool checkSoundFile(const char* path, std::string& why) {
    OpenFile file(path);
    if (!file.in) return refuse(why, "cannot be opened");
    unsigned char riff[12];
    if (file.readAt(0, riff, sizeof riff) != sizeof riff || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0)
        return refuse(why, "not a WAV sound (RIFF WAVE)");

    uint32_t blockAlign = 0;
    bool haveFormat = false;
    for (uint64_t at = 12;;) {
        unsigned char chunk[8];
        if (at + 8 > file.size || file.readAt(at, chunk, 8) != 8)
            return refuse(why, haveFormat ? "no sound data (no data chunk)" : "no format chunk");
        const uint64_t length = le32(chunk + 4);
        const uint64_t body = at + 8;
        if (body + length > file.size) return refuse(why, "a chunk runs past the end of the file");

        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            unsigned char fmt[16];
            if (length < sizeof fmt || file.readAt(body, fmt, sizeof fmt) != sizeof fmt)
                return refuse(why, "the format chunk is too short");
            const uint32_t tag = le16(fmt), channels = le16(fmt + 2), rate = le32(fmt + 4);
            const uint32_t bits = le16(fmt + 14);
            blockAlign = le16(fmt + 12);
            if (tag != 1)
                return refuse(why, "sound format 0x%04llx; only plain PCM plays", tag);
            if (channels != 1 && channels != 2)
                return refuse(why, "%lld channels (1 or 2 expected)", channels);
            if (rate < kMinSoundRate || rate > kMaxSoundRate)
                return refuse(why, "sample rate %lld Hz (%lld to %lld Hz expected)", rate,
                              kMinSoundRate, kMaxSoundRate);
            if (bits != 8 && bits != 16)
                return refuse(why, "%lld bits a sample (8 or 16 expected)", bits);
            if (blockAlign != channels * bits / 8)
                return refuse(why, "block size %lld does not fit %lld channels of %lld bits",
                              blockAlign, channels, bits);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return refuse(why, "the sound data comes before its format chunk");
            if (length < blockAlign) return refuse(why, "the sound holds no samples");
            return true;
        }
        // Chunks are padded to an even length.
        at = body + length + (length & 1);
    }
}

bool isFullScreenPicture(const char* path) {
    if (std::strcmp(path, dataFile(DATA_INTRO_CURTAIN)) == 0) return true;
    for (const auto& field : kFieldFiles)
        if (std::strcmp(path, dataFile(field[0])) == 0) return true;
    return false;
}

namespace {

bool reportProblem(const char* path) {
    std::string why;
    bool sound = true;
    if (endsWith(path, ".bmp")) sound = checkPictureFile(path, isFullScreenPicture(path), why);
    if (endsWith(path, ".wav")) sound = checkSoundFile(path, why);
    if (!sound) std::fprintf(stderr, "%s: %s\n", path, why.c_str());
    return !sound;
}

}  // namespace

#ifdef __EMSCRIPTEN__
extern "C" void velmora_file_wait(const char* file);  // platform/web/web_platform.js
void awaitDataFile(const char* path) { velmora_file_wait(path); }
#else
void awaitDataFile(const char*) {}
#endif

void checkDataFileOrExit(const char* path) {
    awaitDataFile(path);
    if (reportProblem(path)) fatalExit();
}

void checkAllDataFiles() {
    // Every damaged file is named, not just the first.
    int problems = 0;
    for (const char* path : kDataFiles) problems += reportProblem(path) ? 1 : 0;
    if (problems > 0) fatalExit();
}
