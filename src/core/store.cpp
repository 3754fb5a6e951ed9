#include "core/store.h"

#include <utility>

#include "base/catalog.h"
#include "base/errors.h"
#include "base/numbers.h"

namespace kembo {

// One back-end per store kind. Booleans need no operations of their own: every kind stores
// them as the integers 1 and 0 and reads any non-zero integer as true.
class StoreBackEnd {
public:
    virtual ~StoreBackEnd() = default;
    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) = 0;
    virtual void WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    virtual int32_t ReadInteger(const std::string& section, const std::string& key,
                                int32_t defaultValue) = 0;
    virtual void WriteInteger(const std::string& section, const std::string& key,
                              int32_t value) = 0;
};

namespace {

constexpr std::size_t kProfileBufferChars = 2048;


// A profile file, touched afresh on every operation so that nothing is cached.
class IniBackEnd final : public StoreBackEnd {
public:
    IniBackEnd(ProfilePort& profile, std::string path) : profile_(profile), path_(std::move(path)) {}

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) override {
        return profile_.Read(path_, section, key, defaultValue, kProfileBufferChars);
    }
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override {
        if (!profile_.Write(path_, section, key, value)) {
            throw Error(Text(TextId::FileNotWritten, path_));
        }
    }
    // Read as text and parsed here: the system's own integer reading loses negative values.
    int32_t ReadInteger(const std::string& section, const std::string& key,
                        int32_t defaultValue) override {
        return ParseInt32(ReadString(section, key, "")).value_or(defaultValue);
    }
    void WriteInteger(const std::string& section, const std::string& key, int32_t value) override {
        WriteString(section, key, std::to_string(value));
    }

private:
    ProfilePort& profile_;
    std::string path_;
};

// The port wants key paths relative to the root: no backslash at either end.
std::string TrimBackslashes(const std::string& path) {
    const std::size_t first = path.find_first_not_of('\\');
    if (first == std::string::npos) {
        return std::string();
    }
    return path.substr(first, path.find_last_not_of('\\') - first + 1);
}

std::string JoinKeyPath(const std::string& base, const std::string& section) {
    const std::string tail = TrimBackslashes(section);
    if (base.empty() || tail.empty()) {
        return base + tail;
    }
    return base + '\\' + tail;
}

// What both registry kinds share: a root, a base key whose subkeys are the sections, and the
// error texts that name the value.
class RegistryBackEndBase : public StoreBackEnd {
public:
    RegistryBackEndBase(RegistryPort& registry, RegRoot root, const std::string& keyPath)
        : registry_(registry), root_(root), keyPath_(TrimBackslashes(keyPath)) {}

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) override {
        const RegValue value = Fetch(section, key);
        switch (value.type) {
            case RegValue::Type::Missing: return defaultValue;
            case RegValue::Type::String: return value.text;
            default: throw Error(Text(TextId::RegistryWrongType, key));
        }
    }
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override {
        Check(registry_.WriteString(root_, JoinKeyPath(keyPath_, section), key, value), key);
    }

protected:
    RegValue Fetch(const std::string& section, const std::string& key) {
        RegValue value;
        if (!registry_.Read(root_, JoinKeyPath(keyPath_, section), key, value)) {
            throw Error(Text(TextId::RegistryNotRead, key));
        }
        return value;
    }
    static void Check(bool written, const std::string& key) {
        if (!written) {
            throw Error(Text(TextId::RegistryNotWritten, key));
        }
    }

    RegistryPort& registry_;
    const RegRoot root_;
    const std::string keyPath_;
};

// A key below HKEY_CURRENT_USER used like an INI file. Numbers go in as text, as they would in
// the file; a number value put there by hand is accepted too.
class RegIniBackEnd final : public RegistryBackEndBase {
public:
    RegIniBackEnd(RegistryPort& registry, const std::string& keyPath)
        : RegistryBackEndBase(registry, RegRoot::CurrentUser, keyPath) {
        // A key that cannot be created shows up as a failure of the first write.
        registry_.CreateKey(root_, keyPath_);
    }

    int32_t ReadInteger(const std::string& section, const std::string& key,
                        int32_t defaultValue) override {
        const RegValue value = Fetch(section, key);
        switch (value.type) {
            case RegValue::Type::Missing: return defaultValue;
            case RegValue::Type::String: return ParseInt32(value.text).value_or(defaultValue);
            case RegValue::Type::Dword: return static_cast<int32_t>(value.number);
            default: throw Error(Text(TextId::RegistryWrongType, key));
        }
    }
    void WriteInteger(const std::string& section, const std::string& key, int32_t value) override {
        WriteString(section, key, std::to_string(value));
    }
};

// A key below a chosen root; numbers are 32-bit number values.
class RegistryBackEnd final : public RegistryBackEndBase {
public:
    using RegistryBackEndBase::RegistryBackEndBase;

    int32_t ReadInteger(const std::string& section, const std::string& key,
                        int32_t defaultValue) override {
        const RegValue value = Fetch(section, key);
        switch (value.type) {
            case RegValue::Type::Missing: return defaultValue;
            case RegValue::Type::Dword: return static_cast<int32_t>(value.number);
            default: throw Error(Text(TextId::RegistryWrongType, key));
        }
    }
    void WriteInteger(const std::string& section, const std::string& key, int32_t value) override {
        Check(registry_.WriteDword(root_, JoinKeyPath(keyPath_, section), key,
                                   static_cast<uint32_t>(value)),
              key);
    }
};

}  // namespace

AMIni1::AMIni1(StoreKind kind, std::unique_ptr<StoreBackEnd> backEnd)
    : kind_(kind), backEnd_(std::move(backEnd)) {}

AMIni1::~AMIni1() = default;

std::unique_ptr<AMIni1> AMIni1::CreateIni(ProfilePort& profile, const std::string& path) {
    return std::unique_ptr<AMIni1>(
        new AMIni1(StoreKind::IniFile, std::make_unique<IniBackEnd>(profile, path)));
}

std::unique_ptr<AMIni1> AMIni1::CreateRegIni(RegistryPort& registry, const std::string& keyPath) {
    return std::unique_ptr<AMIni1>(
        new AMIni1(StoreKind::RegistryIni, std::make_unique<RegIniBackEnd>(registry, keyPath)));
}

std::unique_ptr<AMIni1> AMIni1::CreateRegistry(RegistryPort& registry, const std::string& keyPath,
                                               RegRoot root) {
    return std::unique_ptr<AMIni1>(new AMIni1(
        StoreKind::Registry, std::make_unique<RegistryBackEnd>(registry, root, keyPath)));
}

std::string AMIni1::ReadString(const std::string& section, const std::string& key,
                               const std::string& defaultValue) {
    return backEnd_->ReadString(section, key, defaultValue);
}

void AMIni1::WriteString(const std::string& section, const std::string& key,
                         const std::string& value) {
    backEnd_->WriteString(section, key, value);
}

int32_t AMIni1::ReadInteger(const std::string& section, const std::string& key,
                            int32_t defaultValue) {
    return backEnd_->ReadInteger(section, key, defaultValue);
}

void AMIni1::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
    backEnd_->WriteInteger(section, key, value);
}

bool AMIni1::ReadBool(const std::string& section, const std::string& key, bool defaultValue) {
    return backEnd_->ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void AMIni1::WriteBool(const std::string& section, const std::string& key, bool value) {
    backEnd_->WriteInteger(section, key, value ? 1 : 0);
}

Color AMIni1::ReadColor(const std::string& section, const std::string& key, Color defaultValue) {
    // Nothing leaves here: a value that cannot be read is no colour.
    std::string text;
    try {
        text = ReadString(section, key, "");
    } catch (const Error&) {
        return defaultValue;
    }
    if (text.empty()) {
        return defaultValue;
    }
    return ParseColorText(text).value_or(defaultValue);
}

void AMIni1::WriteColor(const std::string& section, const std::string& key, Color value) {
    WriteString(section, key, ColorToText(value));
}

}  // namespace kembo
