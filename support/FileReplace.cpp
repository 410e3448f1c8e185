#include "support/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

namespace {

// The kernel's own bound on the links of one path.
constexpr int kMaxLinks = 40;
constexpr int kTemporaryNameAttempts = 100;
// Well below the 255 bytes that most file systems allow a name.
constexpr std::size_t kTemporaryStemLength = 200;

class Replacement {
  public:
    Replacement(const std::string& fileName, std::string_view text)
        : fileName_(fileName), text_(text) {}
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;
    ~Replacement() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!temporaryName_.empty())
            ::unlink(temporaryName_.c_str());
    }

    void Run() {
        const std::string target = FinalTarget();
        struct stat old {};
        const bool exists = ::stat(target.c_str(), &old) == 0;
        if (exists && !S_ISREG(old.st_mode))
            Fail("open", "not a regular file");
        if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            Fail("open", errno);
        // A new file is created as a direct creation would make it (umask, default ACL); a
        // replacement starts private and then takes the old file's owner and mode.
        CreateTemporary(target, exists ? 0600 : 0666);
        if (exists)
            TakeOwnerAndMode(old);
        WriteAll();
        if (::fsync(fd_) != 0)
            Fail("write", errno);
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0)
            Fail("write", errno);
        if (::rename(temporaryName_.c_str(), target.c_str()) != 0)
            Fail("rename", errno);
        temporaryName_.clear();
    }

  private:
    [[noreturn]] void Fail(const char* step, const std::string& reason) const {
        throw FileReplaceError(std::string("cannot write file by ") + step + ": " + reason,
                               fileName_);
    }
    [[noreturn]] void Fail(const char* step, int error) const {
        Fail(step, std::generic_category().message(error));
    }

    // The file a direct write would reach: links followed, relative ones from their own folder.
    std::string FinalTarget() const {
        std::filesystem::path path = fileName_;
        for (int links = 0; links <= kMaxLinks; ++links) {
            std::error_code error;
            if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error)))
                return path.string();
            const std::filesystem::path next = std::filesystem::read_symlink(path, error);
            if (error)
                Fail("open", error.message());
            path = next.is_absolute() ? next : path.parent_path() / next;
        }
        Fail("open", ELOOP);
    }

    void CreateTemporary(const std::string& target, mode_t mode) {
        // Cut, so that a name that just fits the file system still leaves room for the suffix.
        const std::filesystem::path targetPath = target;
        std::string hidden(1, '.');
        hidden.append(targetPath.filename().string(), 0, kTemporaryStemLength);
        hidden.push_back('.');
        const std::string stem = (targetPath.parent_path() / hidden).string();
        static constexpr char kLetters[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        std::random_device device;
        std::uniform_int_distribution<int> letter(0, sizeof kLetters - 2);
        for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
            std::string name = stem;
            for (int i = 0; i < 8; ++i)
                name += kLetters[letter(device)];
            fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
            if (fd_ >= 0) {
                temporaryName_ = std::move(name);
                return;
            }
            if (errno != EEXIST)
                Fail("open", errno);
        }
        Fail("open", EEXIST);
    }

    void TakeOwnerAndMode(const struct stat& old) {
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            // Only root may give a file away; anyone may keep a group of their own. Where
            // neither is allowed the new file is ours, as any file we create.
            const bool ownerKept = ::fchown(fd_, old.st_uid, old.st_gid) == 0;
            [[maybe_unused]] const bool groupKept =
                ownerKept || ::fchown(fd_, static_cast<uid_t>(-1), old.st_gid) == 0;
        }
        // After the owner: a change of owner clears the set-id bits.
        if (::fchmod(fd_, old.st_mode & 07777) != 0)
            Fail("write", errno);
    }

    void WriteAll() {
        std::string_view rest = text_;
        while (!rest.empty()) {
            const ssize_t count = ::write(fd_, rest.data(), rest.size());
            if (count < 0) {
                if (errno == EINTR)
                    continue;
                Fail("write", errno);
            }
            rest.remove_prefix(static_cast<std::size_t>(count));
        }
    }

    const std::string& fileName_;
    std::string_view text_;
    std::string temporaryName_;
    int fd_ = -1;
};

}  // namespace

void ReplaceFile(const std::string& fileName, std::string_view text) {
    Replacement(fileName, text).Run();
}
