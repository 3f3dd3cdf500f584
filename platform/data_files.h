// The game's data files by name (the list is platform/data_files.def).
#pragma once

enum DataFile {
#define DATA_FILE(id, path) DATA_##id,
#include "platform/data_files.def"
#undef DATA_FILE
    DATA_FILE_COUNT
};

inline constexpr const char* kDataFiles[DATA_FILE_COUNT] = {
#define DATA_FILE(id, path) path,
#include "platform/data_files.def"
#undef DATA_FILE
};

inline const char* dataFile(DataFile file) { return kDataFiles[file]; }

// The name below data/, as the generator writes it.
inline const char* dataFileName(DataFile file) { return kDataFiles[file] + 5; }

// The four fields (fieldKind 1..4), each with the patch cut from it.
inline constexpr DataFile kFieldFiles[4][2] = {
    {DATA_FIELD_STANDARD, DATA_PATCH_STANDARD},
    {DATA_FIELD_CEL_SHADED, DATA_PATCH_CEL_SHADED},
    {DATA_FIELD_STREET, DATA_PATCH_STREET},
    {DATA_FIELD_LAWN, DATA_PATCH_LAWN},
};
