#pragma once
// The shell's link object behind ShellLinkPort: link files read and written in UTF-16, so that
// a path outside the system code page still names the right file.
#include "shell/shell_link.h"

namespace kembo {

class WinShellLinks : public ShellLinkPort {
public:
    std::optional<std::string> LinkTarget(const std::string& path) override;
    // Raises Error (the system's text) when the system has no shell link object.
    bool WriteLink(const std::string& path, const ShellLink& link) override;
    bool RemoveLink(const std::string& path) override;
};

}  // namespace kembo
