#include "platform/registry/RegistryTree.h"

#include <algorithm>
#include <stdexcept>

namespace platform::registry {

namespace {

constexpr std::string_view kHeader = "Tavo Registry 2";
// Stores of the first version have no end line and are read as they are.
constexpr std::string_view kFirstHeader = "Tavo Registry 1";
// The last line of a store: a store cut short at a line end still lacks it.
constexpr std::string_view kEndLine = "End of Tavo Registry";
constexpr std::string_view kHexDigits = "0123456789abcdef";

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return LowerAscii(x) < LowerAscii(y);
    });
}

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7f;
}

std::string_view RootName(Root root) {
    return root == Root::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_CLASSES_ROOT";
}

bool SameValue(const Value& a, const Value& b) {
    return a.type == b.type &&
           (a.type == ValueType::String ? a.text == b.text : a.bytes == b.bytes);
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (IsControl(byte)) {
                    out += "\\x";
                    out += kHexDigits[byte >> 4];
                    out += kHexDigits[byte & 0xf];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void PrintKey(std::string& out, const RegistryKey& key, const std::string& path, bool isRoot) {
    // A root is implicit; it needs a header only to carry values of its own. Every other key is
    // written, so that empty keys survive.
    if (!isRoot || !key.values.empty()) {
        out += '\n';
        out += '[';
        out += path;
        out += "]\n";
        for (const auto& [name, value] : key.values) {
            if (name.empty()) {
                out += '@';
            } else {
                AppendQuoted(out, name);
            }
            out += '=';
            if (value.type == ValueType::String) {
                AppendQuoted(out, value.text);
            } else {
                out += "hex:";
                for (std::size_t i = 0; i < value.bytes.size(); ++i) {
                    if (i > 0)
                        out += ',';
                    out += kHexDigits[value.bytes[i] >> 4];
                    out += kHexDigits[value.bytes[i] & 0xf];
                }
            }
            out += '\n';
        }
    }
    for (const RegistryKey& subkey : key.subkeys) {
        PrintKey(out, subkey, path + '\\' + subkey.name, false);
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = LowerAscii(c);
    if (lower >= 'a' && lower <= 'f')
        return lower - 'a' + 10;
    return -1;
}

// Reads the lines of one file; every failure names the file and the line.
class Parser {
  public:
    Parser(std::string_view text, const std::string& fileName) : text_(text), fileName_(fileName) {}

    RegistryTree Run() {
        RegistryTree tree;
        RegistryKey* current = nullptr;
        bool needsEnd = false;
        bool ended = false;
        while (NextLine()) {
            if (lineNumber_ == 1) {
                needsEnd = line_ == kHeader;
                if (!needsEnd && line_ != kFirstHeader)
                    Fail("not a registry file (the first line is not \"" + std::string(kHeader) +
                         "\")");
                continue;
            }
            if (line_.find_first_not_of(" \t") == std::string_view::npos || line_.front() == ';') {
                continue;
            }
            if (ended)
                Fail("text after the end line");
            if (needsEnd && line_ == kEndLine) {
                ended = true;
            } else if (line_.front() == '[') {
                current = &KeyLine(tree);
            } else {
                if (current == nullptr)
                    Fail("a value before the first key");
                ValueLine(*current);
            }
        }
        if (needsEnd && !ended) {
            ++lineNumber_;
            Fail("the store was cut short: its end line \"" + std::string(kEndLine) +
                 "\" is missing");
        }
        return tree;
    }

  private:
    bool NextLine() {
        if (position_ >= text_.size())
            return false;
        const std::size_t end = std::min(text_.find('\n', position_), text_.size());
        line_ = text_.substr(position_, end - position_);
        if (!line_.empty() && line_.back() == '\r')
            line_.remove_suffix(1);
        position_ = end + 1;
        ++lineNumber_;
        return true;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw RegistryError("damaged registry file " + fileName_ + ", line " +
                            std::to_string(lineNumber_) + ": " + what);
    }

    RegistryKey& KeyLine(RegistryTree& tree) {
        if (line_.back() != ']')
            Fail("a key line must end with ']'");
        const std::string_view path = line_.substr(1, line_.size() - 2);
        const std::size_t rootEnd = std::min(path.find('\\'), path.size());
        const std::string_view rootName = path.substr(0, rootEnd);
        Root root = Root::CurrentUser;
        if (rootName == RootName(Root::ClassesRoot)) {
            root = Root::ClassesRoot;
        } else if (rootName != RootName(Root::CurrentUser)) {
            Fail("unknown root key \"" + std::string(rootName) + "\"");
        }
        RegistryKey* key = &tree.RootKey(root);
        std::string_view rest = path.substr(rootEnd);
        while (!rest.empty()) {
            rest.remove_prefix(1);  // the separator
            const std::size_t end = std::min(rest.find('\\'), rest.size());
            const std::string_view name = rest.substr(0, end);
            if (name.empty())
                Fail("an empty key name");
            if (std::any_of(name.begin(), name.end(),
                            [](char c) { return IsControl(static_cast<unsigned char>(c)); })) {
                Fail("a control character in a key name");
            }
            key = &key->SubkeyOrCreate(name);
            rest.remove_prefix(end);
        }
        return *key;
    }

    void ValueLine(RegistryKey& key) {
        std::size_t at = 0;
        std::string name;
        if (line_.front() == '@') {
            at = 1;
        } else if (line_.front() == '"') {
            name = Quoted(at);
        } else {
            Fail("expected a key, a value or a comment");
        }
        if (at >= line_.size() || line_[at] != '=')
            Fail("expected '=' after the value name");
        ++at;
        Value value;
        if (line_.substr(at).starts_with("hex:")) {
            value.type = ValueType::Binary;
            value.bytes = HexBytes(line_.substr(at + 4));
        } else if (at < line_.size() && line_[at] == '"') {
            value.text = Quoted(at);
            if (at != line_.size())
                Fail("unexpected text after a string value");
        } else {
            Fail("expected a quoted string or hex: bytes");
        }
        if (key.FindValue(name) != nullptr)
            Fail("value \"" + name + "\" is given twice");
        key.values.emplace_back(std::move(name), std::move(value));
    }

    // Reads a quoted string starting at line_[at] == '"'; leaves at after the closing quote.
    std::string Quoted(std::size_t& at) {
        std::string text;
        for (++at; at < line_.size(); ++at) {
            const char c = line_[at];
            if (c == '"') {
                ++at;
                return text;
            }
            if (c != '\\') {
                text += c;
                continue;
            }
            if (++at >= line_.size())
                break;
            switch (line_[at]) {
                case '\\':
                    text += '\\';
                    break;
                case '"':
                    text += '"';
                    break;
                case 'n':
                    text += '\n';
                    break;
                case 'r':
                    text += '\r';
                    break;
                case 't':
                    text += '\t';
                    break;
                case 'x': {
                    const int high = at + 1 < line_.size() ? HexValue(line_[at + 1]) : -1;
                    const int low = at + 2 < line_.size() ? HexValue(line_[at + 2]) : -1;
                    if (high < 0 || low < 0)
                        Fail("\\x must be followed by two hex digits");
                    text += static_cast<char>(high * 16 + low);
                    at += 2;
                    break;
                }
                default:
                    Fail(std::string("unknown escape \\") + line_[at]);
            }
        }
        Fail("a string without its closing quote");
    }

    std::vector<std::uint8_t> HexBytes(std::string_view digits) const {
        std::vector<std::uint8_t> bytes;
        if (digits.empty())
            return bytes;
        for (std::size_t i = 0;; i += 3) {
            if (i + 1 >= digits.size())
                Fail("hex bytes must be pairs of hex digits");
            const int high = HexValue(digits[i]);
            const int low = HexValue(digits[i + 1]);
            if (high < 0 || low < 0)
                Fail("hex bytes must be pairs of hex digits");
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
            if (i + 2 == digits.size())
                return bytes;
            if (digits[i + 2] != ',')
                Fail("hex bytes must be separated by ','");
        }
    }

    std::string_view text_;
    const std::string& fileName_;
    std::size_t position_ = 0;
    std::string_view line_;
    int lineNumber_ = 0;
};

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
    std::vector<std::string_view> names;
    while (!path.empty()) {
        const std::size_t end = std::min(path.find('\\'), path.size());
        const std::string_view name = path.substr(0, end);
        if (std::any_of(name.begin(), name.end(),
                        [](char c) { return IsControl(static_cast<unsigned char>(c)); })) {
            throw std::invalid_argument("registry key name with a control character: \"" +
                                        std::string(name) + "\"");
        }
        if (!name.empty())
            names.push_back(name);
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    return names;
}

RegistryKey* RegistryKey::FindSubkey(std::string_view subkeyName) {
    const auto it = std::lower_bound(subkeys.begin(), subkeys.end(), subkeyName,
                                     [](const RegistryKey& key, std::string_view name) {
                                         return LessIgnoringCase(key.name, name);
                                     });
    return it != subkeys.end() && EqualsIgnoringCase(it->name, subkeyName) ? &*it : nullptr;
}

const RegistryKey* RegistryKey::FindSubkey(std::string_view subkeyName) const {
    return const_cast<RegistryKey*>(this)->FindSubkey(subkeyName);
}

RegistryKey& RegistryKey::SubkeyOrCreate(std::string_view subkeyName) {
    const auto it = std::lower_bound(subkeys.begin(), subkeys.end(), subkeyName,
                                     [](const RegistryKey& key, std::string_view name) {
                                         return LessIgnoringCase(key.name, name);
                                     });
    if (it != subkeys.end() && EqualsIgnoringCase(it->name, subkeyName))
        return *it;
    return *subkeys.insert(it, RegistryKey{std::string(subkeyName), {}, {}});
}

bool RegistryKey::RemoveSubkey(std::string_view subkeyName) {
    RegistryKey* key = FindSubkey(subkeyName);
    if (key == nullptr)
        return false;
    subkeys.erase(subkeys.begin() + (key - subkeys.data()));
    return true;
}

Value* RegistryKey::FindValue(std::string_view valueName) {
    for (auto& [name, value] : values) {
        if (EqualsIgnoringCase(name, valueName))
            return &value;
    }
    return nullptr;
}

const Value* RegistryKey::FindValue(std::string_view valueName) const {
    return const_cast<RegistryKey*>(this)->FindValue(valueName);
}

bool RegistryKey::SetValue(std::string_view valueName, Value value) {
    if (Value* existing = FindValue(valueName)) {
        if (SameValue(*existing, value))
            return false;
        *existing = std::move(value);
        return true;
    }
    values.emplace_back(std::string(valueName), std::move(value));
    return true;
}

bool RegistryKey::RemoveValue(std::string_view valueName) {
    const auto it = std::find_if(values.begin(), values.end(), [&](const auto& entry) {
        return EqualsIgnoringCase(entry.first, valueName);
    });
    if (it == values.end())
        return false;
    values.erase(it);
    return true;
}

RegistryKey* RegistryTree::Find(Root root, std::string_view path) {
    RegistryKey* key = &RootKey(root);
    for (const std::string_view name : SplitKeyPath(path)) {
        key = key->FindSubkey(name);
        if (key == nullptr)
            return nullptr;
    }
    return key;
}

const RegistryKey* RegistryTree::Find(Root root, std::string_view path) const {
    return const_cast<RegistryTree*>(this)->Find(root, path);
}

RegistryKey& RegistryTree::FindOrCreate(Root root, std::string_view path, bool& created) {
    created = false;
    RegistryKey* key = &RootKey(root);
    for (const std::string_view name : SplitKeyPath(path)) {
        RegistryKey* subkey = key->FindSubkey(name);
        if (subkey == nullptr) {
            subkey = &key->SubkeyOrCreate(name);
            created = true;
        }
        key = subkey;
    }
    return *key;
}

RegistryTree RegistryTree::Parse(std::string_view text, const std::string& fileName) {
    return Parser(text, fileName).Run();
}

std::string RegistryTree::Print() const {
    std::string out(kHeader);
    out += '\n';
    PrintKey(out, currentUser_, currentUser_.name, true);
    PrintKey(out, classesRoot_, classesRoot_.name, true);
    out += '\n';
    out += kEndLine;
    out += '\n';
    return out;
}

}  // namespace platform::registry
