// Runs a fuzz target over files of inputs, without libFuzzer: the inputs a fuzzer once failed on
// stay tests of every build. Arguments are files or folders (their files, sorted); "--suffix S"
// and "--max-bytes N" choose which files of the folders after them are run. A path that does
// not exist fails the run, so a misplaced folder cannot pass by testing nothing.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    std::string suffix;
    std::uintmax_t max_bytes = UINTMAX_MAX;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--suffix" && i + 1 < argc) {
            suffix = argv[++i];
            continue;
        }
        if (arg == "--max-bytes" && i + 1 < argc) {
            max_bytes = std::strtoull(argv[++i], nullptr, 10);
            continue;
        }
        const fs::path p = arg;
        if (fs::is_directory(p)) {
            for (const auto& e : fs::directory_iterator(p)) {
                const std::string name = e.path().filename().string();
                if (e.is_regular_file() && e.file_size() <= max_bytes &&
                    name.size() >= suffix.size() &&
                    name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                    inputs.push_back(e.path());
            }
        } else if (fs::is_regular_file(p)) {
            inputs.push_back(p);
        } else {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 2;
        }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& p : inputs) {
        std::ifstream in(p, std::ios::binary);
        const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::fprintf(stderr, "%zu inputs ran\n", inputs.size());
    return inputs.empty() ? 3 : 0;
}
