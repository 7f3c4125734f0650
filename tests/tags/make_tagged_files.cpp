// Writes the tagged test files and their manifest ("manifest.txt": name, tab, the line the radio
// must show) into a folder, and the files with gain tags into its sub-folder "gains", for the wine
// tests and the benchmark:
//   trallio-tagged-files FOLDER [--big]
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tagged_files.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: trallio-tagged-files FOLDER [--big]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool big = argc > 2 && std::string(argv[2]) == "--big";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const auto files = tags_test::MakeTaggedFiles(folder, big);
    std::filesystem::create_directories(folder + "/gains", error);
    const auto gains = tags_test::MakeGainFiles(folder + "/gains");
    std::ofstream manifest(folder + "/manifest.txt", std::ios::binary | std::ios::trunc);
    manifest << tags_test::Manifest(files);
    if (files.empty() || gains.empty() || !manifest) {
        std::fprintf(stderr, "trallio-tagged-files: could not make the files in %s\n", folder.c_str());
        return 1;
    }
    std::printf("%zu tagged files and %zu with gains in %s\n", files.size(), gains.size(), folder.c_str());
    return 0;
}
