#pragma once
// Where the program's files live: the folder of the executable.
#include <string>
#include <string_view>

namespace platform {

// The program folder, without a trailing '/'.
std::string ProgramFolder();
// The executable's file name without its folder ("skarvel").
std::string ExecutableName();
// Tests point the program at a folder of their own; the executable name
// then reads "skarvel". An empty folder restores the real one.
void SetProgramFolderForTests(const std::string& folder);

std::string JoinPath(std::string_view folder, std::string_view name);
// The settings file: the executable's name with ".ini", in the program folder.
std::string SettingsFilePath();
// The lock file of the copy that holds the program folder, named as the
// settings file is, with ".lock".
std::string LockFilePath();

}  // namespace platform
