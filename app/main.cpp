// Snowmere: a winter match-three puzzle game.
#include "app/harness.h"

#include <cstdio>
#include <cstring>

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // The GL driver allocates and frees a frame-sized buffer every frame. When that buffer sits
    // at the top of the heap, the allocator hands its pages back to the system each time and the
    // next frame faults them in again, which costs a windowed frame about half again its time.
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
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
