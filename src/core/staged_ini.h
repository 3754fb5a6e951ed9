#pragma once
// Saving an INI file in one step: the profile calls of a save go to a copy beside the file,
// which then takes the file's place at once. Whoever reads the file, and whatever ends the
// program meanwhile, meets the old file or the whole new one, never a file half rewritten.
#include <string>

#include "base/store_ports.h"

namespace kembo {

// The copy's name: the file's own with ".tmp" added.
std::string StagingPath(const std::string& path);

// Deletes the copy a save left behind when the program was ended during it; nothing else
// depends on that copy, so it is never read.
void RemoveStaleStaging(ProfilePort& profile, const std::string& path);

class StagedIniFile {
public:
    // Starts a save of path: a stale copy goes, and the file (unknown sections included) is copied.
    // Throws TextId::FileNotWritten with path when that cannot be done.
    StagedIniFile(ProfilePort& profile, std::string path);
    // Deletes the copy unless Commit put it in place.
    ~StagedIniFile();
    StagedIniFile(const StagedIniFile&) = delete;
    StagedIniFile& operator=(const StagedIniFile&) = delete;

    // A profile port whose calls on path go to the copy; stores opened on path through it write
    // the copy and still name path in their errors.
    ProfilePort& Profile() { return redirect_; }
    // Flushes the copy and puts it in place. Throws TextId::FileNotWritten with path when that
    // fails; the file is then as it was.
    void Commit();

private:
    class Redirect : public ProfilePort {
    public:
        Redirect(ProfilePort& profile, const std::string& path, const std::string& staging)
            : profile_(profile), path_(path), staging_(staging) {}
        std::string Read(const std::string& file, const std::string& section, const std::string& key,
                         const std::string& defaultValue, std::size_t bufferChars) override {
            return profile_.Read(Target(file), section, key, defaultValue, bufferChars);
        }
        bool Write(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override {
            return profile_.Write(Target(file), section, key, value);
        }
        bool Exists(const std::string& file) override { return profile_.Exists(Target(file)); }
        bool Copy(const std::string& from, const std::string& to) override {
            return profile_.Copy(Target(from), Target(to));
        }
        bool Remove(const std::string& file) override { return profile_.Remove(Target(file)); }
        bool Flush(const std::string& file) override { return profile_.Flush(Target(file)); }
        bool Replace(const std::string& from, const std::string& to) override {
            return profile_.Replace(Target(from), Target(to));
        }

    private:
        const std::string& Target(const std::string& file) const { return file == path_ ? staging_ : file; }
        ProfilePort& profile_;
        const std::string& path_;
        const std::string& staging_;
    };

    [[noreturn]] void Fail();

    ProfilePort& profile_;
    const std::string path_;
    const std::string staging_;
    Redirect redirect_;
    bool committed_ = false;
};

}  // namespace kembo
