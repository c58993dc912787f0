// Writes a settings file in which every list and spinner of every page is used, for
// measuring the program on a full file: full_settings <path>.

#include <cstdio>
#include <exception>

#include "representative_selection.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <settings file>\n", argv[0]);
        return 2;
    }
    try {
        WriteFullSettingsFile(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
