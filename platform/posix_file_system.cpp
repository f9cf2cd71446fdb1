#include "platform/posix_file_system.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <utility>

#include "conversion/texts.h"

namespace quenlo {
namespace {

[[noreturn]] void ThrowErrno(const std::filesystem::path& file, int error) {
    throw FileError(file, std::strerror(error));
}

std::optional<FileIdentity> IdentityOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

// Owns one descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

class PosixInputFile final : public InputFile {
public:
    // lengthAtOpen: what is left of a regular file, else empty. Anything else (a
    // pipe, a FIFO, a terminal) may keep a read waiting for ever, so its reads wait
    // in poll(), beside a pipe of our own that CancelRead writes to. A regular
    // file's read cannot be waited for that way (poll() calls it ready at once):
    // one that hangs on a lost network mount ends only when the mount gives up.
    PosixInputFile(std::filesystem::path path, int fd, std::optional<std::uint64_t> lengthAtOpen)
        : path_(std::move(path)), fd_(fd), lengthAtOpen_(lengthAtOpen) {
        int ends[2];
        if (!lengthAtOpen_ && ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
            cancelRead_ = std::make_unique<Descriptor>(ends[0]);
            cancelWrite_ = std::make_unique<Descriptor>(ends[1]);
        }
    }

    std::size_t Read(char* buffer, std::size_t size) override {
        for (;;) {
            if (cancelRead_ && !WaitForData()) {
                throw ReadCancelled();
            }
            const ssize_t n = ::read(fd_.get(), buffer, size);
            if (n > 0) {
                position_ += static_cast<std::uint64_t>(n);
                return static_cast<std::size_t>(n);
            }
            if (n == 0) {
                // The end came before the length the file had: someone cut it short,
                // and its last line may be a piece.
                if (lengthAtOpen_ && position_ < *lengthAtOpen_) {
                    throw FileError(path_, std::string(kInputShrank));
                }
                return 0;
            }
            if (errno != EINTR && errno != EAGAIN) {
                ThrowErrno(path_, errno);
            }
        }
    }

    std::optional<FileIdentity> Identity() const override { return IdentityOf(fd_.get()); }
    std::optional<std::uint64_t> Length() const override { return lengthAtOpen_; }

    void CancelRead() override {
        if (cancelWrite_) {
            // One byte is enough: it is never read, so every later wait ends at once.
            [[maybe_unused]] const ssize_t ignored = ::write(cancelWrite_->get(), "", 1);
        }
    }

private:
    // True when the input has data or its end; false once the read is cancelled.
    bool WaitForData() {
        pollfd waits[2] = {{fd_.get(), POLLIN, 0}, {cancelRead_->get(), POLLIN, 0}};
        for (;;) {
            if (::poll(waits, 2, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                ThrowErrno(path_, errno);
            }
            if (waits[1].revents != 0) {
                return false;
            }
            if (waits[0].revents != 0) {
                return true;
            }
        }
    }

    std::filesystem::path path_;
    Descriptor fd_;
    std::optional<std::uint64_t> lengthAtOpen_;
    std::uint64_t position_ = 0;
    std::unique_ptr<Descriptor> cancelRead_;
    std::unique_ptr<Descriptor> cancelWrite_;
};

// An input of any kind, from an open descriptor that the result then owns.
std::unique_ptr<InputFile> InputFrom(const std::filesystem::path& file, int fd) {
    Descriptor guard(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ThrowErrno(file, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        ThrowErrno(file, EISDIR);
    }
    std::optional<std::uint64_t> length;
    if (S_ISREG(info.st_mode)) {
        // Standard input may come in part way through its file.
        const off_t offset = std::max<off_t>(::lseek(fd, 0, SEEK_CUR), 0);
        length = static_cast<std::uint64_t>(std::max<off_t>(info.st_size - offset, 0));
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    return std::make_unique<PosixInputFile>(file, guard.release(), length);
}

class PosixOutputFile final : public OutputFile {
public:
    PosixOutputFile(std::filesystem::path path, int fd, std::uint64_t size, std::string lastBytes)
        : path_(std::move(path)), fd_(fd), sizeAtOpen_(size), lastBytes_(std::move(lastBytes)) {}

    std::uint64_t SizeAtOpen() const override { return sizeAtOpen_; }
    std::string LastBytesAtOpen() const override { return lastBytes_; }

    void Write(const char* data, std::size_t size) override {
        while (size > 0) {
            const ssize_t n = ::write(fd_.get(), data, size);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                ThrowErrno(path_, errno);
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }

    void Truncate(std::uint64_t size) override {
        while (::ftruncate(fd_.get(), static_cast<off_t>(size)) != 0) {
            if (errno != EINTR) {
                ThrowErrno(path_, errno);
            }
        }
    }

    void Close() override {
        // close() is where some file systems report a failed write-back.
        if (::close(fd_.release()) != 0 && errno != EINTR) {
            ThrowErrno(path_, errno);
        }
    }

private:
    std::filesystem::path path_;
    Descriptor fd_;
    std::uint64_t sizeAtOpen_;
    std::string lastBytes_;
};

}  // namespace

std::unique_ptr<InputFile> PosixFileSystem::OpenForReading(const std::filesystem::path& file) {
    // Without O_NONBLOCK, opening a FIFO would wait for its writer where no stop
    // reaches; the reads wait in poll() instead.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        ThrowErrno(file, errno);
    }
    return InputFrom(file, fd);
}

std::unique_ptr<InputFile> PosixFileSystem::OpenStandardInput(const std::filesystem::path& name) {
    const int fd = ::fcntl(0, F_DUPFD_CLOEXEC, 3);
    if (fd < 0) {
        ThrowErrno(name, errno);
    }
    return InputFrom(name, fd);
}

std::unique_ptr<OutputFile> PosixFileSystem::OpenForAppending(const std::filesystem::path& file) {
    // Read access only to see how the file ends; a file we may write but not read
    // is appended to as it always was.
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    const bool readable = fd >= 0;
    if (!readable && errno == EACCES) {
        fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    }
    if (fd < 0) {
        ThrowErrno(file, errno);
    }
    Descriptor guard(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ThrowErrno(file, errno);
    }
    std::string lastBytes;
    if (readable && S_ISREG(info.st_mode) && info.st_size > 0) {
        lastBytes.resize(std::min<std::size_t>(2, static_cast<std::size_t>(info.st_size)));
        ssize_t n = 0;
        do {
            n = ::pread(fd, lastBytes.data(), lastBytes.size(),
                        info.st_size - static_cast<off_t>(lastBytes.size()));
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            ThrowErrno(file, errno);
        }
        if (static_cast<std::size_t>(n) != lastBytes.size()) {
            lastBytes.clear();  // cut meanwhile: not known
        }
    }
    return std::make_unique<PosixOutputFile>(
        file, guard.release(), static_cast<std::uint64_t>(info.st_size), std::move(lastBytes));
}

bool PosixFileSystem::Exists(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

void PosixFileSystem::CreateFolder(const std::filesystem::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode)) {
            ThrowErrno(folder, ENOTDIR);
        }
        return;
    }
    if (::mkdir(folder.c_str(), 0777) == 0) {
        return;
    }
    const int error = errno;
    // Another run may have made it since we looked.
    if (error == EEXIST && ::stat(folder.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            return;
        }
        ThrowErrno(folder, ENOTDIR);
    }
    ThrowErrno(folder, error);
}

std::vector<std::filesystem::path> PosixFileSystem::FolderEntries(
    const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> names;
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) {
        return names;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(listing);
    return names;
}

bool PosixFileSystem::Remove(const std::filesystem::path& file) {
    return ::unlink(file.c_str()) == 0;
}

std::optional<FileIdentity> PosixFileSystem::Identity(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace quenlo
