// Opening and reading the files the game is told to read, so that none of them can block it or
// make it hold more than its format allows.
#pragma once

#include <cstddef>
#include <string>

// A FIFO would block the opening, a device such as /dev/zero would never end, and a directory
// reads as nothing: only regular files are opened, and they are opened so that neither the
// opening nor a read can wait. Reading is bounded by the caller: a line is never held past the
// length its format allows, and a whole file never past a size.
class InputFile {
public:
    enum class Line { Read, TooLong, End };
    // Missing: nothing is there (the readers with a fall-back take it); NotRegular: a FIFO, a
    // device, a directory; CannotOpen: something is there that the game may not open.
    enum class State { Open, Missing, NotRegular, CannotOpen };

    // Opens `path` for reading unless it names no regular file; state() tells which.
    explicit InputFile(std::string path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    State state() const { return state_; }
    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    // Why the file is not open: "cannot be opened" or "is not a regular file"; empty when it
    // is open.
    const std::string& problem() const { return problem_; }
    // Throws std::runtime_error "PATH: PROBLEM" unless the file is open.
    void require() const;

    // The next line, without its end of line, into `line`: Read; End at the end of the file
    // (or when it cannot be read on); TooLong when the line holds more than `max` characters,
    // and then `line` holds the first `max` and the file stays in the middle of that line.
    Line readLine(std::string& line, std::size_t max);
    // Whether a read failed, as against the file simply ending.
    bool failed() const { return failed_; }
    // The rest of the file; throws std::runtime_error "PATH: is larger than N bytes" once it
    // holds more than `maxBytes`, and "PATH: cannot be read" when a read fails.
    std::string readAll(std::size_t maxBytes);
    // At most `maxBytes` of the rest of the file: fewer at its end or where a read failed.
    std::string readSome(std::size_t maxBytes);

    // Hands the open descriptor over to the caller, who closes it; -1 when not open.
    int release();

private:
    bool fill();
    void refuse(State state);

    std::string path_;
    std::string problem_;
    State state_ = State::Open;
    int fd_ = -1;
    bool failed_ = false;
    char buffer_[4096];
    std::size_t start_ = 0;
    std::size_t end_ = 0;
};
