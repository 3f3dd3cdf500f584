#include <cstdio>

#include "app/assets.h"
#include "app/data_checks.h"
#include "app/main_menu.h"

int main(int argc, char** argv) {
    // Find a broken install before any library is touched.
    if (reportMissingAssets(stderr) > 0) return 1;
    checkAllDataFiles();
    gameMain(argc, argv, sdlGameIo());
    return 0;
}
