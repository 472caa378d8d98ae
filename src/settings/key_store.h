#pragma once
// The persistent store of the default paths: one key with a string value
// for each. The operations are the few the settings need of it; the real store is
// QtKeyStore, the tests use an in-memory double.

#include <string>

namespace corvane {

enum class ValueKind {
    Missing,     // the value does not exist
    String,      // a string value; text holds it
    OtherType,   // the value exists but is not a string
    Unreadable,  // the value exists but its data cannot be read
};

struct StoredValue {
    ValueKind kind = ValueKind::Missing;
    std::string text;
};

class KeyStore {
public:
    virtual ~KeyStore() = default;
    // Opens the existing key for full access; false when the key does not exist.
    virtual bool OpenKey() = 0;
    // Opens the key for full access, creating it first when it is missing;
    // false when it can neither be opened nor created.
    virtual bool CreateKey() = 0;
    // The type and, for a string, the text of one value of the open key.
    virtual StoredValue QueryValue(const std::string& name) = 0;
    // Stores one string value in the open key; false when it cannot be written.
    virtual bool SetValue(const std::string& name, const std::string& text) = 0;
    // Forces the key's contents to permanent storage and releases the key.
    virtual bool FlushKey() = 0;
};

}  // namespace corvane
