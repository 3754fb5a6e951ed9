#pragma once
// In-memory stand-ins for the profile file calls and the registry, with switches for the
// failures the store has to report and logs of what was read and written, in order.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "base/store_ports.h"

namespace kembo::test {

class FakeProfile : public ProfilePort {
public:
    struct Access {
        std::string file, section, key, value;
    };

    std::set<std::string> readOnlyFiles;   // writes fail, and nothing replaces them
    std::set<std::string> failing;         // file operations that fail: "Copy", "Flush", "Replace", "Remove"
    std::vector<Access> reads;   // value is the default handed in
    std::vector<Access> writes;
    std::vector<std::string> fileOperations;  // "Copy from to", "Flush file", ... in order

    std::string Read(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& defaultValue, std::size_t bufferChars) override {
        reads.push_back({file, section, key, defaultValue});
        const std::optional<std::string> value = Get(file, section, key);
        if (!value) return defaultValue;
        return value->substr(0, bufferChars > 0 ? bufferChars - 1 : 0);
    }

    bool Write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override {
        if (readOnlyFiles.count(file)) return false;
        writes.push_back({file, section, key, value});
        Put(file, section, key, value);
        return true;
    }

    bool Exists(const std::string& file) override { return HasFile(file); }
    bool Copy(const std::string& from, const std::string& to) override {
        if (!Operation("Copy", from + " " + to)) return false;
        files_[to] = files_.at(from);
        return true;
    }
    bool Remove(const std::string& file) override {
        if (!Operation("Remove", file)) return false;
        files_.erase(file);
        return true;
    }
    bool Flush(const std::string& file) override { return Operation("Flush", file) && HasFile(file); }
    bool Replace(const std::string& from, const std::string& to) override {
        if (!Operation("Replace", from + " " + to) || readOnlyFiles.count(to) || !HasFile(from)) return false;
        files_[to] = std::move(files_.at(from));
        files_.erase(from);
        return true;
    }

    // Test set-up and inspection; not logged. Names compare case-insensitively, as Windows does.
    void Put(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value) {
        Section& s = FindOrAdd(files_[file], section, [&] { return Section{section, {}}; });
        FindOrAdd(s.entries, key, [&] { return Entry{key, value}; }).value = value;
    }
    std::optional<std::string> Get(const std::string& file, const std::string& section,
                                   const std::string& key) const {
        const auto f = files_.find(file);
        if (f == files_.end()) return std::nullopt;
        for (const Section& s : f->second) {
            if (!SameTextAscii(s.name, section)) continue;
            for (const Entry& e : s.entries) {
                if (SameTextAscii(e.name, key)) return e.value;
            }
        }
        return std::nullopt;
    }
    bool HasFile(const std::string& file) const { return files_.count(file) != 0; }
    // Sections of a file in order, each as "name: key=value key=value".
    std::vector<std::string> Dump(const std::string& file) const {
        std::vector<std::string> lines;
        if (!HasFile(file)) return lines;
        for (const Section& s : files_.at(file)) {
            std::string line = s.name + ":";
            for (const Entry& e : s.entries) line += " " + e.name + "=" + e.value;
            lines.push_back(line);
        }
        return lines;
    }

private:
    bool Operation(const std::string& name, const std::string& files) {
        fileOperations.push_back(name + " " + files);
        return !failing.count(name);
    }
    struct Entry {
        std::string name, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    template <typename Item, typename Make>
    static Item& FindOrAdd(std::vector<Item>& items, const std::string& name, Make make) {
        for (Item& item : items) {
            if (SameTextAscii(item.name, name)) return item;
        }
        items.push_back(make());
        return items.back();
    }
    std::map<std::string, std::vector<Section>> files_;
};

class FakeRegistry : public RegistryPort {
public:
    bool failCreate = false;
    bool failReads = false;   // an existing value cannot be read
    bool failWrites = false;
    std::vector<std::string> createdKeys;

    bool CreateKey(RegRoot root, const std::string& path) override {
        createdKeys.push_back(path);
        if (failCreate) return false;
        keys_[{root, path}];
        return true;
    }
    bool Read(RegRoot root, const std::string& path, const std::string& name,
              RegValue& out) override {
        out = Get(root, path, name);
        return out.type == RegValue::Type::Missing || !failReads;
    }
    bool WriteString(RegRoot root, const std::string& path, const std::string& name,
                     const std::string& value) override {
        return Store(root, path, name, {RegValue::Type::String, value, 0});
    }
    bool WriteDword(RegRoot root, const std::string& path, const std::string& name,
                    uint32_t value) override {
        return Store(root, path, name, {RegValue::Type::Dword, {}, value});
    }

    void Put(RegRoot root, const std::string& path, const std::string& name, RegValue value) {
        keys_[{root, path}][name] = std::move(value);
    }
    RegValue Get(RegRoot root, const std::string& path, const std::string& name) const {
        const auto key = keys_.find({root, path});
        if (key == keys_.end()) return {};
        const auto value = key->second.find(name);
        return value == key->second.end() ? RegValue{} : value->second;
    }
    bool HasKey(RegRoot root, const std::string& path) const { return keys_.count({root, path}) != 0; }

private:
    bool Store(RegRoot root, const std::string& path, const std::string& name, RegValue value) {
        if (failWrites) return false;
        Put(root, path, name, std::move(value));
        return true;
    }
    std::map<std::pair<RegRoot, std::string>, std::map<std::string, RegValue>> keys_;
};

}  // namespace kembo::test
