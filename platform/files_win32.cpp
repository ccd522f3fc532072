// File operations on Windows: wide-character names, binary handles and our own text conventions
// (the C runtime's text mode keeps a lone CR and would turn our CR LF into CR CR LF).
#define WIN32_LEAN_AND_MEAN
#define NOGDI
#define NOMINMAX
#include <windows.h>

#include <string>

#include "platform/files.h"

namespace cycalc {

namespace {

HANDLE handle_of(const PlatformFile& file) { return reinterpret_cast<HANDLE>(file.handle); }

// Names arrive as UTF-8; Windows wants UTF-16. Bytes that are not UTF-8 cannot name a file.
bool to_wide(const char* name, std::wstring& wide) {
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0);
    if (size <= 0) return false;
    wide.resize(static_cast<std::size_t>(size));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, wide.data(), size) == size;
}

HANDLE open_wide(const char* name, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    std::wstring wide;
    if (name[0] == '\0' || !to_wide(name, wide)) return INVALID_HANDLE_VALUE;
    return CreateFileW(wide.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

long read_handle(void* context, char* buffer, std::size_t size) {
    DWORD got = 0;
    const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (ReadFile(handle_of(*static_cast<PlatformFile*>(context)), buffer, want, &got, nullptr)) {
        return static_cast<long>(got);
    }
    // A pipe whose writer has gone is at its end, not in error.
    return GetLastError() == ERROR_BROKEN_PIPE || GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

long write_handle(void* context, const char* data, std::size_t size) {
    DWORD put = 0;
    const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!WriteFile(handle_of(*static_cast<PlatformFile*>(context)), data, want, &put, nullptr) || put == 0) return -1;
    return static_cast<long>(put);
}

}  // namespace

bool open_log_file(const char* name, PlatformFile& file) {
    // A directory does not open without FILE_FLAG_BACKUP_SEMANTICS, so it is refused here.
    const HANDLE handle = open_wide(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    if (handle == INVALID_HANDLE_VALUE) return false;
    file.handle = reinterpret_cast<std::intptr_t>(handle);
    return true;
}

bool is_same_file(const char* name, const PlatformFile& file) {
    const HANDLE named =
        open_wide(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (named == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    const bool same = GetFileInformationByHandle(named, &a) && GetFileInformationByHandle(handle_of(file), &b) &&
                      a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
                      a.nFileIndexLow == b.nFileIndexLow;
    CloseHandle(named);
    return same;
}

bool create_detail_file(const char* name, PlatformFile& file) {
    const HANDLE handle = open_wide(name, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE) return false;
    file.handle = reinterpret_cast<std::intptr_t>(handle);
    return true;
}

std::uint64_t file_size(const PlatformFile& file) {
    LARGE_INTEGER size{};
    if (GetFileType(handle_of(file)) != FILE_TYPE_DISK || !GetFileSizeEx(handle_of(file), &size)) return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool close_file(PlatformFile& file) {
    const HANDLE handle = handle_of(file);
    file.handle = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
    return CloseHandle(handle) != 0;
}

ByteSource file_source(PlatformFile& file) { return ByteSource{read_handle, &file}; }

ByteSink file_sink(PlatformFile& file) { return ByteSink{write_handle, &file}; }

FileSystem native_file_system() {
    return FileSystem{open_log_file, is_same_file, create_detail_file, close_file, file_size, file_source, file_sink};
}

PlatformFile standard_output() { return PlatformFile{reinterpret_cast<std::intptr_t>(GetStdHandle(STD_OUTPUT_HANDLE))}; }

PlatformFile standard_error() { return PlatformFile{reinterpret_cast<std::intptr_t>(GetStdHandle(STD_ERROR_HANDLE))}; }

bool is_terminal(const PlatformFile& file) {
    DWORD mode = 0;
    return GetConsoleMode(handle_of(file), &mode) != 0;
}

}  // namespace cycalc
