#pragma once
// The shell's link files (.lnk) as the program reaches them; the Windows adapter lives in
// toolkit/, tests use a fake.
#include <optional>
#include <string>

namespace kembo {

// What a link the program writes holds; empty fields are left at the shell's defaults.
struct ShellLink {
    std::string target;
    std::string workingFolder;
    std::string arguments;
    std::string iconFile;  // its first icon
    bool operator==(const ShellLink&) const = default;
};

class ShellLinkPort {
public:
    virtual ~ShellLinkPort() = default;
    // The target of the link file at path; none when there is no link there that can be read.
    virtual std::optional<std::string> LinkTarget(const std::string& path) = 0;
    // Writes the link file, over one of the same name; false when it cannot be saved.
    virtual bool WriteLink(const std::string& path, const ShellLink& link) = 0;
    // Deletes the link file; false when it is still there.
    virtual bool RemoveLink(const std::string& path) = 0;
};

}  // namespace kembo
