#pragma once
// An in-memory KeyStore: a key that exists or not, its values, and the calls
// made on it in order ("OpenKey", "QueryValue SrcPath", "SetValue TargPath",
// "FlushKey"). A test can make the key impossible to create or single values
// impossible to write. Reading or writing while no key is open fails the test.

#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/key_store.h"

namespace corvane::test {

class MemoryKeyStore : public KeyStore {
public:
    bool keyExists = false;
    bool keyCanBeCreated = true;
    std::map<std::string, StoredValue> values;
    std::set<std::string> unwritable;  // names whose SetValue fails
    std::vector<std::string> calls;

    // Makes the key exist with one string value.
    void putString(const std::string& name, const std::string& text)
    {
        keyExists = true;
        values[name] = {ValueKind::String, text};
    }
    // Makes the key exist with one value of the given kind (OtherType, Unreadable).
    void putKind(const std::string& name, ValueKind kind)
    {
        keyExists = true;
        values[name] = {kind, {}};
    }
    // The text of a stored string value; "<missing>" or "<not a string>" otherwise.
    std::string text(const std::string& name) const
    {
        const auto found = values.find(name);
        if (found == values.end())
            return "<missing>";
        return found->second.kind == ValueKind::String ? found->second.text : "<not a string>";
    }

    bool OpenKey() override
    {
        calls.push_back("OpenKey");
        open_ = keyExists;
        return open_;
    }
    bool CreateKey() override
    {
        calls.push_back("CreateKey");
        if (!keyExists && !keyCanBeCreated)
            return false;
        keyExists = open_ = true;
        return true;
    }
    StoredValue QueryValue(const std::string& name) override
    {
        calls.push_back("QueryValue " + name);
        EXPECT_TRUE(open_) << "QueryValue " << name << " without an open key";
        const auto found = values.find(name);
        return found == values.end() ? StoredValue{} : found->second;
    }
    bool SetValue(const std::string& name, const std::string& text) override
    {
        calls.push_back("SetValue " + name);
        EXPECT_TRUE(open_) << "SetValue " << name << " without an open key";
        if (unwritable.count(name) != 0)
            return false;
        values[name] = {ValueKind::String, text};
        return true;
    }
    bool FlushKey() override
    {
        calls.push_back("FlushKey");
        EXPECT_TRUE(open_) << "FlushKey without an open key";
        open_ = false;
        return true;
    }

private:
    bool open_ = false;
};

}  // namespace corvane::test
