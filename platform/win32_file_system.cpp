#include "platform/win32_file_system.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <utility>

#include <windows.h>

#include "conversion/texts.h"
#include "platform/ansi_text.h"
#include "platform/system_path.h"

namespace quenlo {
namespace {

[[noreturn]] void ThrowLastError(const std::filesystem::path& file) {
    const DWORD error = GetLastError();
    throw FileError(file, SystemErrorText(error));
}

// Owns one file handle.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

private:
    HANDLE handle_;
};

std::optional<FileIdentity> IdentityOf(HANDLE handle) {
    // ReFS numbers files in 128 bits: two files may share the low 64 that the older
    // call gives. The 128-bit id needs Windows 8 and a file system that has it;
    // others answer with an id of zeros, which would make all their files one.
    FILE_ID_INFO id{};
    if (GetFileInformationByHandleEx(handle, FileIdInfo, &id, sizeof id)) {
        if (auto identity = IdentityFromFileId(id.VolumeSerialNumber, id.FileId.Identifier)) {
            return identity;
        }
    }
    // A file system without 64-bit ids gives zeros here too: then no identity at all.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info) ||
        (info.nFileIndexHigh == 0 && info.nFileIndexLow == 0)) {
        return std::nullopt;
    }
    return FileIdentity{
        info.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// ReadFile and WriteFile take 32-bit sizes.
constexpr std::size_t kMaxChunk = 1u << 30;

// CancelSynchronousIo arrived with Vista; looked up, so that the program still
// starts where it is missing (a stalled pipe then delays a stop, as before).
BOOL CancelReadOfThread(HANDLE thread) {
    using CancelSynchronousIoFunction = BOOL(WINAPI*)(HANDLE);
    static const auto cancel =
        reinterpret_cast<CancelSynchronousIoFunction>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CancelSynchronousIo")));
    return cancel && cancel(thread);
}

class Win32InputFile final : public InputFile {
public:
    // lengthAtOpen: what is left of a disk file, else empty (a pipe, a console).
    // Any read may wait for long (a pipe whose writer stalls, a share whose server
    // has gone, a cloud file being fetched): CancelRead cancels it in its thread.
    Win32InputFile(std::filesystem::path path, HANDLE handle,
                   std::optional<std::uint64_t> lengthAtOpen)
        : path_(std::move(path)), handle_(handle), lengthAtOpen_(lengthAtOpen) {}

    ~Win32InputFile() override {
        if (readerThread_) {
            CloseHandle(readerThread_);
        }
    }

    std::size_t Read(char* buffer, std::size_t size) override {
        if (!BeginRead()) {
            throw ReadCancelled();
        }
        DWORD done = 0;
        const auto chunk = static_cast<DWORD>(std::min(size, kMaxChunk));
        const BOOL read = ReadFile(handle_.get(), buffer, chunk, &done, nullptr);
        const DWORD error = read ? ERROR_SUCCESS : GetLastError();
        const bool cancelled = EndRead();
        position_ += done;
        // Without a known end, nothing read after a cancel is an end either.
        const bool nothing = !read || (done == 0 && (!lengthAtOpen_ || position_ < *lengthAtOpen_));
        if (cancelled && nothing) {
            throw ReadCancelled();
        }
        if (!read) {
            // A pipe's writer that has gone is the end of the input.
            if (error == ERROR_BROKEN_PIPE) {
                return 0;
            }
            throw FileError(path_, SystemErrorText(error));
        }
        // The end came before the length the file had: someone cut it short, and
        // its last line may be a piece.
        if (done == 0 && lengthAtOpen_ && position_ < *lengthAtOpen_) {
            throw FileError(path_, std::string(kInputShrank));
        }
        return done;
    }

    std::optional<FileIdentity> Identity() const override { return IdentityOf(handle_.get()); }
    std::optional<std::uint64_t> Length() const override { return lengthAtOpen_; }

    void CancelRead() override {
        std::lock_guard<std::mutex> lock(mutex_);
        cancelled_ = true;
        if (reading_) {
            CancelReadOfThread(readerThread_);
        }
    }

private:
    // Notes which thread is about to wait, so that CancelRead can reach it; false
    // when a cancel came first to an input that may wait for ever. A disk file's
    // read goes ahead: if it waits, the next cancel reaches it.
    bool BeginRead() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (cancelled_ && !lengthAtOpen_) {
            return false;
        }
        if (!readerThread_) {
            DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(),
                            &readerThread_, 0, FALSE, DUPLICATE_SAME_ACCESS);
        }
        reading_ = true;
        return true;
    }
    // Whether the input has been cancelled, before or during the read.
    bool EndRead() {
        std::lock_guard<std::mutex> lock(mutex_);
        reading_ = false;
        return cancelled_;
    }

    std::filesystem::path path_;
    Handle handle_;
    std::optional<std::uint64_t> lengthAtOpen_;
    std::uint64_t position_ = 0;
    std::mutex mutex_;
    bool cancelled_ = false;
    bool reading_ = false;
    HANDLE readerThread_ = nullptr;
};

// An input of any kind, from an open handle that the result then owns.
std::unique_ptr<InputFile> InputFrom(const std::filesystem::path& file, HANDLE raw) {
    Handle handle(raw);
    std::optional<std::uint64_t> length;
    LARGE_INTEGER size{};
    LARGE_INTEGER offset{};
    const LARGE_INTEGER zero{};
    if (GetFileType(raw) == FILE_TYPE_DISK && GetFileSizeEx(raw, &size) &&
        SetFilePointerEx(raw, zero, &offset, FILE_CURRENT)) {
        // Standard input may come in part way through its file.
        length = static_cast<std::uint64_t>(std::max<LONGLONG>(size.QuadPart - offset.QuadPart, 0));
    }
    return std::make_unique<Win32InputFile>(file, handle.release(), length);
}

class Win32OutputFile final : public OutputFile {
public:
    Win32OutputFile(std::filesystem::path path, HANDLE handle, std::uint64_t size,
                    std::string lastBytes)
        : path_(std::move(path)),
          handle_(handle),
          sizeAtOpen_(size),
          lastBytes_(std::move(lastBytes)) {}

    std::uint64_t SizeAtOpen() const override { return sizeAtOpen_; }
    std::string LastBytesAtOpen() const override { return lastBytes_; }

    void Write(const char* data, std::size_t size) override {
        while (size > 0) {
            DWORD done = 0;
            const auto chunk = static_cast<DWORD>(std::min(size, kMaxChunk));
            if (!WriteFile(handle_.get(), data, chunk, &done, nullptr)) {
                ThrowLastError(path_);
            }
            if (done == 0) {
                throw FileError(path_, SystemErrorText(ERROR_WRITE_FAULT));
            }
            data += done;
            size -= done;
        }
    }

    void Truncate(std::uint64_t size) override {
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(size);
        if (!SetFilePointerEx(handle_.get(), end, nullptr, FILE_BEGIN) ||
            !SetEndOfFile(handle_.get())) {
            ThrowLastError(path_);
        }
    }

    void Close() override {
        if (!CloseHandle(handle_.release())) {
            ThrowLastError(path_);
        }
    }

private:
    std::filesystem::path path_;
    Handle handle_;
    std::uint64_t sizeAtOpen_;
    std::string lastBytes_;
};

std::atomic<unsigned short> errorLanguage{0};

}  // namespace

std::optional<FileIdentity> IdentityFromFileId(std::uint64_t volume,
                                               const unsigned char (&id)[16]) {
    // Little-endian, as the system lays it out: where a file system has only 64 bits
    // (NTFS) they are the low half, and the identity equals the older call's.
    std::uint64_t halves[2] = {};
    for (int i = 0; i < 16; ++i) {
        halves[i / 8] |= static_cast<std::uint64_t>(id[i]) << (8 * (i % 8));
    }
    constexpr std::uint64_t kAllOnes = ~std::uint64_t{0};
    if ((halves[0] == 0 && halves[1] == 0) || (halves[0] == kAllOnes && halves[1] == kAllOnes)) {
        return std::nullopt;
    }
    return FileIdentity{volume, halves[0], halves[1]};
}

void SetSystemErrorLanguage(unsigned short language) {
    errorLanguage = language;
}

std::string SystemErrorText(unsigned long error) {
    constexpr DWORD kFlags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(kFlags, nullptr, error, errorLanguage,
                                  reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 && errorLanguage != 0) {
        // A system without that language's messages: its own default.
        length = FormatMessageW(kFlags, nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0,
                                nullptr);
    }
    std::wstring wide = length > 0 && text ? std::wstring(text, length) : std::wstring();
    if (text) {
        LocalFree(text);
    }
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ')) {
        wide.pop_back();
    }
    if (wide.empty()) {
        return "error " + std::to_string(error);
    }
    return Utf8FromWide(wide);
}

namespace {

// A folder, something else, or nothing of that name.
enum class PathKind { Folder, Other, Missing };

PathKind KindOf(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return PathKind::Missing;
    }
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::Folder : PathKind::Other;
}

}  // namespace

std::unique_ptr<InputFile> Win32FileSystem::OpenForReading(const std::filesystem::path& file) {
    // Others may keep writing or even delete the input while we read it.
    HANDLE handle = CreateFileW(SystemPath(file).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // Windows opens no folder as a file and only says "access denied" for it,
        // which sends the user looking at permissions.
        if (KindOf(file) == PathKind::Folder) {
            throw FileError(file, std::string(kInputIsFolder));
        }
        throw FileError(file, SystemErrorText(error));
    }
    return InputFrom(file, handle);
}

std::unique_ptr<InputFile> Win32FileSystem::OpenStandardInput(const std::filesystem::path& name) {
    HANDLE copy = INVALID_HANDLE_VALUE;
    if (!DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_INPUT_HANDLE), GetCurrentProcess(),
                         &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        ThrowLastError(name);
    }
    return InputFrom(name, copy);
}

std::unique_ptr<OutputFile> Win32FileSystem::OpenForAppending(const std::filesystem::path& file) {
    // Read access only to see how the file ends; a file we may write but not read
    // (its permissions, or another program's share mode) is appended to as it
    // always was.
    const std::wstring name = SystemPath(file);
    HANDLE raw = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool readable = raw != INVALID_HANDLE_VALUE;
    const DWORD error = readable ? ERROR_SUCCESS : GetLastError();
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
        raw = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (raw == INVALID_HANDLE_VALUE) {
        ThrowLastError(file);
    }
    Handle handle(raw);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(raw, &size)) {
        ThrowLastError(file);
    }
    std::string lastBytes;
    if (readable && size.QuadPart > 0) {
        lastBytes.resize(static_cast<std::size_t>(std::min<LONGLONG>(size.QuadPart, 2)));
        LARGE_INTEGER at{};
        at.QuadPart = size.QuadPart - static_cast<LONGLONG>(lastBytes.size());
        DWORD done = 0;
        if (!SetFilePointerEx(raw, at, nullptr, FILE_BEGIN) ||
            !ReadFile(raw, lastBytes.data(), static_cast<DWORD>(lastBytes.size()), &done,
                      nullptr)) {
            ThrowLastError(file);
        }
        if (done != lastBytes.size()) {
            lastBytes.clear();  // cut meanwhile: not known
        }
    }
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(raw, zero, nullptr, FILE_END)) {
        ThrowLastError(file);
    }
    return std::make_unique<Win32OutputFile>(
        file, handle.release(), static_cast<std::uint64_t>(size.QuadPart), std::move(lastBytes));
}

bool Win32FileSystem::Exists(const std::filesystem::path& path) {
    return GetFileAttributesW(SystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Win32FileSystem::CreateFolder(const std::filesystem::path& folder) {
    PathKind kind = KindOf(folder);
    if (kind == PathKind::Missing) {
        if (CreateDirectoryW(SystemPath(folder).c_str(), nullptr)) {
            return;
        }
        const DWORD error = GetLastError();
        // Another run may have made it since we looked.
        kind = error == ERROR_ALREADY_EXISTS ? KindOf(folder) : PathKind::Missing;
        if (kind == PathKind::Missing) {
            throw FileError(folder, SystemErrorText(error));
        }
    }
    if (kind == PathKind::Other) {
        throw FileError(folder, SystemErrorText(ERROR_ALREADY_EXISTS));
    }
}

std::vector<std::filesystem::path> Win32FileSystem::FolderEntries(
    const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> names;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW(SystemPath(folder / L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..") {
            names.emplace_back(name);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

bool Win32FileSystem::Remove(const std::filesystem::path& file) {
    return DeleteFileW(SystemPath(file).c_str()) != 0;
}

std::optional<FileIdentity> Win32FileSystem::Identity(const std::filesystem::path& file) {
    // No access rights needed to ask; backup semantics lets folders be opened too.
    Handle handle(CreateFileW(SystemPath(file).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle.get() == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    return IdentityOf(handle.get());
}

}  // namespace quenlo
