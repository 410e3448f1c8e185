#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The per-user registry that stands in for the Windows one: a tree of keys with named values
// under two roots, kept in one plain-text file. Every call reads the file under a lock, and
// every change is written back atomically (temporary file and rename), so two processes may
// use one store at once. Key paths use '\' as separator; key and value names compare
// case-insensitively (ASCII) and keep the case they were written with. The value name ""
// is the key's default value.
namespace platform::registry {

enum class Root { CurrentUser, ClassesRoot };

enum class ValueType { String, Binary };

struct Value {
    ValueType type = ValueType::String;
    std::string text;                 // String values
    std::vector<std::uint8_t> bytes;  // Binary values
};

// A store that cannot be read, parsed or written.
class RegistryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Registry {
  public:
    // The file named by $TAVO_REGISTRY, else $XDG_CONFIG_HOME/tavo/registry, else
    // ~/.config/tavo/registry.
    static std::filesystem::path DefaultPath();

    explicit Registry(std::filesystem::path file = DefaultPath());

    const std::filesystem::path& File() const { return file_; }

    bool KeyExists(Root root, std::string_view key) const;
    // Creates the key and its missing parents; an existing key is left as it is.
    void CreateKey(Root root, std::string_view key);
    // Removes the key with all its subkeys and values; false when it did not exist.
    bool DeleteKey(Root root, std::string_view key);
    std::vector<std::string> SubKeys(Root root, std::string_view key) const;
    std::vector<std::string> ValueNames(Root root, std::string_view key) const;

    std::optional<Value> ReadValue(Root root, std::string_view key, std::string_view name) const;
    // Writing a value creates its key when it is missing.
    void WriteString(Root root, std::string_view key, std::string_view name, std::string_view text);
    void WriteBinary(Root root, std::string_view key, std::string_view name,
                     std::span<const std::uint8_t> bytes);
    bool DeleteValue(Root root, std::string_view key, std::string_view name);

  private:
    std::filesystem::path file_;
};

}  // namespace platform::registry
