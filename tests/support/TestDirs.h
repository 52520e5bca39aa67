// Scratch directories for tests: copies of the staged game, files written on the fly.
#pragma once

#include <string>

// A fresh empty directory under the system's temporary directory, removed by the destructor.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const { return dir + "/" + name; }
    void write(const std::string& name, const std::string& contents) const;
    void remove(const std::string& name) const;

private:
    std::string dir;
};

// A scratch copy of the staged game directory, so a test may break or add files in it.
class GameCopy : public ScratchDir {
public:
    GameCopy();
};

// Makes the working directory `dir` for the lifetime of the object.
class ChangeDir {
public:
    explicit ChangeDir(const std::string& dir);
    ~ChangeDir();
    ChangeDir(const ChangeDir&) = delete;
    ChangeDir& operator=(const ChangeDir&) = delete;

private:
    std::string previous;
};

std::string readFile(const std::string& path);
