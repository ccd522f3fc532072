// The few file operations the program needs, one implementation per platform.
#pragma once

#include <cstdint>

#include "platform/text_in.h"
#include "platform/text_out.h"

namespace cycalc {

// An open file: a descriptor on POSIX, a HANDLE on Windows.
struct PlatformFile {
    std::intptr_t handle;
};

// Opens an existing file for reading. False for a missing or unreadable file and for a directory.
bool open_log_file(const char* name, PlatformFile& file);

// True when `name` names the very file that `file` is open on (through any spelling or link).
bool is_same_file(const char* name, const PlatformFile& file);

// Creates the file, or empties an existing one, and opens it for writing.
bool create_detail_file(const char* name, PlatformFile& file);

// The size of a regular file; 0 for anything else (a pipe, a terminal), whose size is not known.
std::uint64_t file_size(const PlatformFile& file);

// Closes the file; false when the platform reports a failure.
bool close_file(PlatformFile& file);

// Byte source and sink over an open file; `file` must outlive them.
ByteSource file_source(PlatformFile& file);
ByteSink file_sink(PlatformFile& file);

// The file operations a run uses, as one set that tests can replace (to make a read, a write or a
// close fail, say). Each is called once per file or per block, never per line.
struct FileSystem {
    bool (*open_log_file)(const char* name, PlatformFile& file);
    bool (*is_same_file)(const char* name, const PlatformFile& file);
    bool (*create_detail_file)(const char* name, PlatformFile& file);
    bool (*close_file)(PlatformFile& file);
    std::uint64_t (*file_size)(const PlatformFile& file);
    ByteSource (*file_source)(PlatformFile& file);
    ByteSink (*file_sink)(PlatformFile& file);
};

// The platform's own.
FileSystem native_file_system();

// Standard output and standard error, and whether one is a terminal (standard output is then
// written unbuffered).
PlatformFile standard_output();
PlatformFile standard_error();
bool is_terminal(const PlatformFile& file);

}  // namespace cycalc
