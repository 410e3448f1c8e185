#include "platform/registry/Registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "platform/registry/RegistryTree.h"
#include "support/FileReplace.h"

namespace platform::registry {

namespace {

namespace fs = std::filesystem;

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

[[noreturn]] void FailIo(const std::string& what, const fs::path& file, int error) {
    throw RegistryError(what + " " + file.string() + ": " + ErrnoText(error));
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }

  private:
    int fd_;
};

fs::path LockPath(const fs::path& file) {
    fs::path lock = file;
    lock += ".lock";
    return lock;
}

void LockFile(const FileDescriptor& lock, int operation, const fs::path& file) {
    while (::flock(lock.Get(), operation) != 0) {
        if (errno != EINTR)
            FailIo("cannot lock", LockPath(file), errno);
    }
}

// The lock file is never removed: removing it would let two writers lock two different files.
FileDescriptor OpenLock(const fs::path& file) {
    return FileDescriptor(::open(LockPath(file).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
}

RegistryTree Load(const fs::path& file) {
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsOpen()) {
        if (errno == ENOENT)
            return RegistryTree{};
        FailIo("cannot open registry file", file, errno);
    }
    std::string text;
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(fd.Get(), buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            FailIo("cannot read registry file", file, errno);
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return RegistryTree::Parse(text, file.string());
}

// The one writer of the project's files: readers never see a half-written store, a link to the
// store stays a link, and the store keeps its mode.
void Store(const fs::path& file, const RegistryTree& tree) {
    try {
        ReplaceFile(file.string(), tree.Print());
    } catch (const FileReplaceError& error) {
        throw RegistryError("registry file " + file.string() + ": " + error.what());
    }
}

// Reads, changes and writes the store with the lock held, so that no other writer's change can
// fall between the read and the write. change returns whether it changed anything.
template <class Change>
auto Modify(const fs::path& file, Change change) {
    std::error_code error;
    if (file.has_parent_path())
        fs::create_directories(file.parent_path(), error);
    if (error)
        throw RegistryError("cannot create " + file.parent_path().string() + ": " +
                            error.message());
    const FileDescriptor lock = OpenLock(file);
    if (!lock.IsOpen())
        FailIo("cannot open", LockPath(file), errno);
    LockFile(lock, LOCK_EX, file);
    RegistryTree tree = Load(file);
    const auto result = change(tree);
    if (result)
        Store(file, tree);
    return result;
}

// Renames make every read see a whole file even without the lock; the shared lock only keeps
// a reader from starting while a writer holds the store. A store in a directory we may not
// write to is still readable.
RegistryTree Read(const fs::path& file) {
    const FileDescriptor lock = OpenLock(file);
    if (lock.IsOpen())
        LockFile(lock, LOCK_SH, file);
    return Load(file);
}

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

fs::path HomeDirectory() {
    if (std::string home = EnvironmentValue("HOME"); !home.empty())
        return home;
    passwd entry{};
    passwd* found = nullptr;
    std::string buffer(16384, '\0');
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    throw RegistryError("cannot find the home directory for the registry (HOME is not set)");
}

}  // namespace

fs::path Registry::DefaultPath() {
    if (std::string path = EnvironmentValue("TAVO_REGISTRY"); !path.empty())
        return path;
    fs::path config = EnvironmentValue("XDG_CONFIG_HOME");
    // XDG base directories: a relative XDG_CONFIG_HOME is to be ignored.
    if (config.empty() || config.is_relative())
        config = HomeDirectory() / ".config";
    return config / "tavo" / "registry";
}

Registry::Registry(fs::path file) : file_(std::move(file)) {}

bool Registry::KeyExists(Root root, std::string_view key) const {
    return Read(file_).Find(root, key) != nullptr;
}

void Registry::CreateKey(Root root, std::string_view key) {
    SplitKeyPath(key);  // a bad name fails before the store is touched
    Modify(file_, [&](RegistryTree& tree) {
        bool created = false;
        tree.FindOrCreate(root, key, created);
        return created;
    });
}

bool Registry::DeleteKey(Root root, std::string_view key) {
    std::vector<std::string_view> names = SplitKeyPath(key);
    if (names.empty())
        throw std::invalid_argument("a registry root key cannot be deleted");
    const std::string_view last = names.back();
    names.pop_back();
    return Modify(file_, [&](RegistryTree& tree) {
        RegistryKey* parent = &tree.RootKey(root);
        for (const std::string_view name : names) {
            parent = parent->FindSubkey(name);
            if (parent == nullptr)
                return false;
        }
        return parent->RemoveSubkey(last);
    });
}

std::vector<std::string> Registry::SubKeys(Root root, std::string_view key) const {
    std::vector<std::string> names;
    const RegistryTree tree = Read(file_);
    if (const RegistryKey* found = tree.Find(root, key)) {
        for (const RegistryKey& subkey : found->subkeys)
            names.push_back(subkey.name);
    }
    return names;
}

std::vector<std::string> Registry::ValueNames(Root root, std::string_view key) const {
    std::vector<std::string> names;
    const RegistryTree tree = Read(file_);
    if (const RegistryKey* found = tree.Find(root, key)) {
        for (const auto& entry : found->values)
            names.push_back(entry.first);
    }
    return names;
}

std::optional<Value> Registry::ReadValue(Root root, std::string_view key,
                                         std::string_view name) const {
    const RegistryTree tree = Read(file_);
    const RegistryKey* found = tree.Find(root, key);
    const Value* value = found != nullptr ? found->FindValue(name) : nullptr;
    if (value == nullptr)
        return std::nullopt;
    return *value;
}

void Registry::WriteString(Root root, std::string_view key, std::string_view name,
                           std::string_view text) {
    SplitKeyPath(key);
    Modify(file_, [&](RegistryTree& tree) {
        bool created = false;
        RegistryKey& target = tree.FindOrCreate(root, key, created);
        return target.SetValue(name, Value{ValueType::String, std::string(text), {}}) || created;
    });
}

void Registry::WriteBinary(Root root, std::string_view key, std::string_view name,
                           std::span<const std::uint8_t> bytes) {
    SplitKeyPath(key);
    Modify(file_, [&](RegistryTree& tree) {
        bool created = false;
        RegistryKey& target = tree.FindOrCreate(root, key, created);
        return target.SetValue(name, Value{ValueType::Binary, {}, {bytes.begin(), bytes.end()}}) ||
               created;
    });
}

bool Registry::DeleteValue(Root root, std::string_view key, std::string_view name) {
    SplitKeyPath(key);
    return Modify(file_, [&](RegistryTree& tree) {
        RegistryKey* found = tree.Find(root, key);
        return found != nullptr && found->RemoveValue(name);
    });
}

}  // namespace platform::registry
