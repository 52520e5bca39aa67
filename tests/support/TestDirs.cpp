// Scratch directories for tests.
#include "support/TestDirs.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "skelvo-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch directory");
    dir = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

void ScratchDir::write(const std::string& name, const std::string& contents) const {
    const fs::path p = fs::path(dir) / name;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << contents;
    if (!out) throw std::runtime_error("cannot write " + p.string());
}

void ScratchDir::remove(const std::string& name) const { fs::remove_all(fs::path(dir) / name); }

GameCopy::GameCopy() {
    fs::copy(SKELVO_GAME_DIR, path(), fs::copy_options::recursive);
}

ChangeDir::ChangeDir(const std::string& dir) : previous(fs::current_path().string()) {
    fs::current_path(dir);
}

ChangeDir::~ChangeDir() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
