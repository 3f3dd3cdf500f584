// The game's data files on disk: the start-up check for missing ones, the
// font's own check, and the one way a file that does not load ends the
// program. Loading itself goes through i_video (images, fonts, texts) and
// i_sound (sounds).
#pragma once

#include <cstdio>

// One line per missing data file (platform/data_files.def) on err, then how to
// rebuild the data. Returns how many are missing.
int reportMissingAssets(std::FILE* err);

// Writes "file: reason" to standard error and exits with status 1, so
// nothing is ever drawn or played half-loaded.
[[noreturn]] void assetFailure(const char* file, const char* reason);

// FreeType opens a TrueType file that was cut short and then draws every
// text blank, so the table directory is held against the file's size first.
// Returns why the file is damaged, or nullptr when the tables fit (or the
// file is no TrueType/OpenType font at all, which TTF_OpenFont reports).
const char* fontTablesOutsideFile(const char* file);
