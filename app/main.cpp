// Snowmere: a winter match-three puzzle game.
#include "app/harness.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(Harness_Usage, stdout);
            return 0;
        }
    }
    HarnessOptions options;
    std::string error;
    if (!Harness_ParseArgs(argc, argv, &options, &error)) {
        std::fprintf(stderr, "snowmere: %s\n%s", error.c_str(), Harness_Usage);
        return 2;
    }
    return Harness_Run(options);
}
