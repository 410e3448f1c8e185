#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry/Registry.h"

namespace platform::registry {

// One key of the tree: its values in the order they were first written, its subkeys sorted by
// name ignoring ASCII case (so the file comes out in a stable order).
struct RegistryKey {
    std::string name;
    std::vector<std::pair<std::string, Value>> values;
    std::vector<RegistryKey> subkeys;

    RegistryKey* FindSubkey(std::string_view subkeyName);
    const RegistryKey* FindSubkey(std::string_view subkeyName) const;
    RegistryKey& SubkeyOrCreate(std::string_view subkeyName);
    bool RemoveSubkey(std::string_view subkeyName);

    Value* FindValue(std::string_view valueName);
    const Value* FindValue(std::string_view valueName) const;
    // Returns whether the stored value changed; an existing value keeps its name's case.
    bool SetValue(std::string_view valueName, Value value);
    bool RemoveValue(std::string_view valueName);
};

// The whole store in memory, with its text form:
//
//   Tavo Registry 2
//
//   [HKEY_CURRENT_USER\SOFTWARE\TAVOWin\RecentFiles]
//   "0"="/home/ann/model.rb"
//   @="the key's default value"
//   "Main"=hex:0a,00,00,00
//
//   End of Tavo Registry
//
// The end line makes a store cut short detectable. Stores headed "Tavo Registry 1" have none
// and are read as they are; the next write gives them the new form.
// String values and value names are quoted with the escapes \\ \" \n \r \t and \xHH (other
// control bytes); key names cannot hold control characters and so need none.
class RegistryTree {
  public:
    RegistryKey& RootKey(Root root) {
        return root == Root::CurrentUser ? currentUser_ : classesRoot_;
    }
    const RegistryKey& RootKey(Root root) const {
        return root == Root::CurrentUser ? currentUser_ : classesRoot_;
    }

    // Null when the key or one of its parents is missing.
    RegistryKey* Find(Root root, std::string_view path);
    const RegistryKey* Find(Root root, std::string_view path) const;
    // Creates the missing keys along the path; sets created when one was made.
    RegistryKey& FindOrCreate(Root root, std::string_view path, bool& created);

    // Throws RegistryError naming fileName and the line when the text is not a store.
    static RegistryTree Parse(std::string_view text, const std::string& fileName);
    std::string Print() const;

  private:
    RegistryKey currentUser_{"HKEY_CURRENT_USER", {}, {}};
    RegistryKey classesRoot_{"HKEY_CLASSES_ROOT", {}, {}};
};

// Splits a key path at '\'; empty parts (doubled, leading or trailing separators) are skipped.
// Throws std::invalid_argument for a name holding a control character.
std::vector<std::string_view> SplitKeyPath(std::string_view path);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace platform::registry
