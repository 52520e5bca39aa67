// Scratch directories for tests: copies of the staged game, files written on the fly.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A fresh empty directory under the system's temporary directory, removed by the destructor.
class ScratchDir {
public:
    ScratchDir() : dir((fs::temp_directory_path() / "skelvo-test-XXXXXX").string()) {
        if (!mkdtemp(dir.data())) throw std::runtime_error("cannot make a scratch directory");
    }
    ~ScratchDir() { fs::remove_all(dir, ignored); }

    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const { return dir + "/" + name; }
    void write(const std::string& name, const std::string& contents) const {
        fs::create_directories(fs::path(file(name)).parent_path());
        if (!(std::ofstream(file(name), std::ios::binary) << contents))
            throw std::runtime_error("cannot write " + file(name));
    }
    void remove(const std::string& name) const { fs::remove_all(file(name)); }

private:
    std::string dir;
    std::error_code ignored;
};

// A scratch copy of the staged game directory, so a test may break or add files in it.
struct GameCopy : ScratchDir {
    GameCopy() { fs::copy(SKELVO_GAME_DIR, path(), fs::copy_options::recursive); }
};

// Makes the working directory `dir` for the lifetime of the object.
struct ChangeDir {
    explicit ChangeDir(const std::string& dir) : previous(fs::current_path()) {
        fs::current_path(dir);
    }
    ~ChangeDir() { fs::current_path(previous, ignored); }

    fs::path previous;
    std::error_code ignored;
};
