// File operations on POSIX systems: plain descriptors, no C library text mode (it does nothing here).
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"

namespace cycalc {

namespace {

int fd_of(const PlatformFile& file) { return static_cast<int>(file.handle); }

long read_fd(void* context, char* buffer, std::size_t size) {
    const int fd = fd_of(*static_cast<PlatformFile*>(context));
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0) return static_cast<long>(got);
        if (errno != EINTR) return -1;
    }
}

long write_fd(void* context, const char* data, std::size_t size) {
    const int fd = fd_of(*static_cast<PlatformFile*>(context));
    for (;;) {
        const ssize_t put = ::write(fd, data, size);
        if (put > 0) return static_cast<long>(put);
        if (put < 0 && errno == EINTR) continue;
        return -1;
    }
}

}  // namespace

bool open_log_file(const char* name, PlatformFile& file) {
    const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return false;
    }
    file.handle = fd;
    return true;
}

bool is_same_file(const char* name, const PlatformFile& file) {
    struct stat named {};
    struct stat open {};
    if (::stat(name, &named) != 0 || ::fstat(fd_of(file), &open) != 0) return false;
    return named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

bool create_detail_file(const char* name, PlatformFile& file) {
    const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    file.handle = fd;
    return true;
}

std::uint64_t file_size(const PlatformFile& file) {
    struct stat info {};
    if (::fstat(fd_of(file), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

bool close_file(PlatformFile& file) {
    const int fd = fd_of(file);
    file.handle = -1;
    return ::close(fd) == 0;
}

ByteSource file_source(PlatformFile& file) { return ByteSource{read_fd, &file}; }

ByteSink file_sink(PlatformFile& file) { return ByteSink{write_fd, &file}; }

FileSystem native_file_system() {
    return FileSystem{open_log_file, is_same_file, create_detail_file, close_file, file_size, file_source, file_sink};
}

PlatformFile standard_output() { return PlatformFile{STDOUT_FILENO}; }

PlatformFile standard_error() { return PlatformFile{STDERR_FILENO}; }

bool is_terminal(const PlatformFile& file) { return ::isatty(fd_of(file)) == 1; }

}  // namespace cycalc
