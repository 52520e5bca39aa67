// Opening and reading the files the game is told to read.
#include "core/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace {

bool isRegular(const struct stat& info) { return S_ISREG(info.st_mode); }

}  // namespace

InputFile::InputFile(std::string path) : path_(std::move(path)) {
    struct stat info {};
    // Looked at before opening: opening a FIFO for reading waits for a writer.
    if (::stat(path_.c_str(), &info) != 0) {
        refuse(errno == ENOENT || errno == ENOTDIR ? State::Missing : State::CannotOpen);
        return;
    }
    if (!isRegular(info)) {
        refuse(State::NotRegular);
        return;
    }
    fd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        refuse(errno == ENOENT ? State::Missing : State::CannotOpen);
        return;
    }
    // The name may have been pointed elsewhere between the look and the opening.
    if (::fstat(fd_, &info) != 0 || !isRegular(info)) {
        ::close(fd_);
        fd_ = -1;
        refuse(State::NotRegular);
    }
}

void InputFile::refuse(State state) {
    state_ = state;
    problem_ = state == State::NotRegular ? "is not a regular file" : "cannot be opened";
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

void InputFile::require() const {
    if (!isOpen()) throw std::runtime_error(path_ + ": " + problem_);
}

bool InputFile::fill() {
    if (fd_ < 0 || failed_) return false;
    start_ = 0;
    end_ = 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_, sizeof buffer_);
        if (n > 0) {
            end_ = static_cast<std::size_t>(n);
            return true;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failed_ = true;
        return false;
    }
}

InputFile::Line InputFile::readLine(std::string& line, std::size_t max) {
    line.clear();
    bool any = false;
    for (;;) {
        if (start_ == end_ && !fill()) return any ? Line::Read : Line::End;
        any = true;
        while (start_ < end_) {
            const char c = buffer_[start_++];
            if (c == '\n') return Line::Read;
            if (line.size() == max) {
                --start_;
                return Line::TooLong;
            }
            line += c;
        }
    }
}

std::string InputFile::readAll(std::size_t maxBytes) {
    std::string content(buffer_ + start_, end_ - start_);
    start_ = end_;
    while (content.size() <= maxBytes && fill()) {
        content.append(buffer_, end_);
        start_ = end_;
    }
    if (failed_) throw std::runtime_error(path_ + ": cannot be read");
    if (content.size() > maxBytes)
        throw std::runtime_error(path_ + ": is larger than " + std::to_string(maxBytes) + " bytes");
    return content;
}

std::string InputFile::readSome(std::size_t maxBytes) {
    std::string content;
    while (content.size() < maxBytes && (start_ < end_ || fill())) {
        const std::size_t n = std::min(maxBytes - content.size(), end_ - start_);
        content.append(buffer_ + start_, n);
        start_ += n;
    }
    return content;
}

int InputFile::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}
