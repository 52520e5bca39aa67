// Scratch directories for tests: copies of the staged game, files written on the fly.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A fresh empty directory under the system's temporary directory, removed by the destructor.
class ScratchDir {
public:
    ScratchDir() {
        dir = (std::filesystem::temp_directory_path() / "skelvo-test-XXXXXX").string();
        if (!mkdtemp(dir.data())) throw std::runtime_error("cannot make a scratch directory");
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const { return dir + "/" + name; }
    void write(const std::string& name, const std::string& contents) const {
        std::filesystem::create_directories(std::filesystem::path(file(name)).parent_path());
        std::ofstream out(file(name), std::ios::binary);
        if (!(out << contents)) throw std::runtime_error("cannot write " + file(name));
    }
    void remove(const std::string& name) const { std::filesystem::remove_all(file(name)); }

private:
    std::string dir;
};

// A scratch copy of the staged game directory, so a test may break or add files in it.
class GameCopy : public ScratchDir {
public:
    GameCopy() {
        std::filesystem::copy(SKELVO_GAME_DIR, path(), std::filesystem::copy_options::recursive);
    }
};

// Makes the working directory `dir` for the lifetime of the object.
class ChangeDir {
public:
    explicit ChangeDir(const std::string& dir) : previous(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~ChangeDir() {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
    }
    ChangeDir(const ChangeDir&) = delete;
    ChangeDir& operator=(const ChangeDir&) = delete;

private:
    std::filesystem::path previous;
};
