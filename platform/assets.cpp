#include "platform/assets.h"

#include <sys/stat.h>

#include <cstdint>

#include "platform/data_checks.h"
#include "platform/data_files.h"
#include "platform/i_system.h"

int reportMissingAssets(std::FILE* err) {
    int missing = 0;
    for (int i = 0; i < DATA_FILE_COUNT; ++i) {
        struct stat st;
        if (stat(kDataFiles[i], &st) != 0 || !S_ISREG(st.st_mode)) {
            std::fprintf(err, "missing game file: %s\n", kDataFiles[i]);
            ++missing;
        }
    }
    if (missing)
        std::fprintf(err,
                     "The game runs from the folder that holds data/ (the installed launcher "
                     "goes there itself). Reinstall the package, or rebuild the data with "
                     "'cmake --build build --target assets'.\n");
    return missing;
}

void assetFailure(const char* file, const char* reason) {
    fatalError(stderr, "%s: %s\n", file, reason && *reason ? reason : "cannot be loaded");
}

namespace {

uint32_t bigEndian(const unsigned char* bytes, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | bytes[i];
    return value;
}

}  // namespace

const char* fontTablesOutsideFile(const char* file) {
    awaitDataFile(file);
    std::FILE* in = std::fopen(file, "rb");
    if (!in) return nullptr;
    const char* reason = nullptr;
    unsigned char header[12];
    if (std::fread(header, 1, sizeof header, in) == sizeof header) {
        const uint32_t version = bigEndian(header, 4);
        if (version == 0x00010000u || version == 0x74727565u /* true */ ||
            version == 0x4F54544Fu /* OTTO */) {
            std::fseek(in, 0, SEEK_END);
            const long size = std::ftell(in);
            const uint32_t tables = bigEndian(header + 4, 2);
            std::fseek(in, static_cast<long>(sizeof header), SEEK_SET);
            for (uint32_t i = 0; i < tables && !reason; ++i) {
                unsigned char record[16];
                if (std::fread(record, 1, sizeof record, in) != sizeof record) {
                    reason = "the font file ends inside its table directory";
                } else {
                    const uint64_t end =
                        uint64_t{bigEndian(record + 8, 4)} + bigEndian(record + 12, 4);
                    if (size < 0 || end > static_cast<uint64_t>(size))
                        reason = "the font file is cut short (a table ends past its end)";
                }
            }
        }
    }
    std::fclose(in);
    return reason;
}
