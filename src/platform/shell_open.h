#pragma once
// Opens a file, a folder or a web address with the desktop's default
// program. The result is not reported.
#include <functional>
#include <string>

namespace platform {

void ShellOpenPath(const std::string& path);
void ShellOpenUrl(const std::string& url);
// Tests observe what would be opened.
void SetShellOpenHandler(std::function<void(const std::string& target)> handler);

}  // namespace platform
