#include "fuzz_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace fuzzing {

namespace {

std::string folder;

void RemoveFolder() {
    if (!folder.empty() && chdir("/") == 0) {
        const std::string command = "rm -rf '" + folder + "'";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "could not remove %s\n", folder.c_str());
        }
    }
}

}  // namespace

const std::string& ScratchFolder() {
    if (folder.empty()) {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != 0 ? base : "/tmp") + "/trallio-fuzz-XXXXXX";
        if (mkdtemp(&pattern[0]) == nullptr || chdir(pattern.c_str()) != 0) {
            std::perror("scratch folder");
            std::abort();
        }
        folder = pattern;
        std::atexit(RemoveFolder);
    }
    return folder;
}

void WriteWholeFile(const char* path, const void* data, size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        std::perror(path);
        std::abort();
    }
    if (size != 0 && std::fwrite(data, 1, size, file) != size) {
        std::perror(path);
        std::abort();
    }
    std::fclose(file);
}

}  // namespace fuzzing
