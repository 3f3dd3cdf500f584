// Header checks of the pictures and sounds under data/, made before the
// library's loaders see a file. Those loaders trust what a header says: a
// height of -2^31, a sample rate of 1 Hz or a block size of 0 crash them.
// Packagers and modders replace these files, so each one is held to what
// the game can draw or play sensibly first.
#pragma once

#include <string>

// The limits the checks apply.
constexpr int kMaxPictureSide = 4096;
constexpr int kScreenWidth = 1024, kScreenHeight = 768;
constexpr int kMinSoundRate = 8000, kMaxSoundRate = 96000;

// Each returns true when the file is sound, else false with the reason in
// why. A picture that the game draws over the whole display must cover it.
bool checkPictureFile(const char* path, bool fullScreen, std::string& why);
bool checkSoundFile(const char* path, std::string& why);

// Whether the game draws this data file over the whole display.
bool isFullScreenPicture(const char* path);

// Returns once the data file is there: at once from a disk; in the page,
// which fetches data/ while the game runs, when its bytes have arrived.
void awaitDataFile(const char* path);

// Checks a BMP or WAV file by its name's ending (other files pass); on a
// problem writes "path: reason" to standard error and exits with status 1.
void checkDataFileOrExit(const char* path);

// The same for every picture and sound the game reads.
void checkAllDataFiles();
