#include "core/staged_ini.h"

#include "base/catalog.h"
#include "base/errors.h"
#include "core/store.h"

namespace kembo {

std::string StagingPath(const std::string& path) { return path + ".tmp"; }

void RemoveStaleStaging(ProfilePort& profile, const std::string& path) { profile.Remove(StagingPath(path)); }

StagedIniFile::StagedIniFile(ProfilePort& profile, std::string path)
    : profile_(profile), path_(std::move(path)), staging_(StagingPath(path_)), redirect_(profile, path_, staging_) {
    // Whatever an earlier save left must not become part of this one.
    if (!profile_.Remove(staging_)) Fail();
    // A missing file is created by the first write, into the copy as anywhere.
    if (profile_.Exists(path_) && !profile_.Copy(path_, staging_)) Fail();
}

StagedIniFile::~StagedIniFile() {
    if (!committed_) profile_.Remove(staging_);
}

void StagedIniFile::Commit() {
    if (!profile_.Flush(staging_) || !profile_.Replace(staging_, path_)) Fail();
    committed_ = true;
}

void StagedIniFile::Fail() {
    profile_.Remove(staging_);
    throw Error(Text(TextId::FileNotWritten, path_));
}

}  // namespace kembo
