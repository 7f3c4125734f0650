#include "scratch_folder.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace testing_support {

void ScratchFolder::Enter(const std::string& prefix) {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    previous = cwd;
    std::string pattern = "/tmp/" + prefix + "-XXXXXX";
    ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
    path = pattern;
    ASSERT_EQ(chdir(path.c_str()), 0);
}

void ScratchFolder::Leave() {
    ASSERT_EQ(chdir(previous.c_str()), 0);
    const std::string remove = "rm -rf '" + path + "'";
    ASSERT_EQ(std::system(remove.c_str()), 0);
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace testing_support
