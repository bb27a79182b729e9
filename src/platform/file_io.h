#pragma once
// Small file helpers over the C library: paths are bytes in the file
// system's encoding (UTF-8 here).
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

bool ReadWholeFile(const std::string& path, std::string& bytes);
// Writes through a temporary file of a unique name in the same folder and
// renames it over path, so that two writers at once both succeed (the
// last one's file stays). The file keeps the mode of the one it replaces.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);
// ReplaceFileAtomically, creating the file's folder when it is missing; a
// failure is reported once per run (ReportWriteFailure).
bool SaveWholeFile(const std::string& path, std::string_view bytes);
// A regular file that nobody may write: no write permission, or for the
// superuser, who may write anything, no write bit at all.
bool FileIsReadOnly(const std::string& path);
// Appends bytes in binary mode, creating the file's folder when it is
// missing. On failure the path is reported once per run (ReportWriteFailure).
bool AppendToFile(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);     // a regular file
bool FolderExists(const std::string& path);   // a directory
// Two names of one existing file (through links, or spelt otherwise).
bool SameFile(const std::string& a, const std::string& b);
// Whether path still names the file f has open (not deleted, moved away or
// replaced since it was opened).
bool NamesOpenFile(const std::string& path, std::FILE* f);
bool EnsureFolder(const std::string& path);   // creates missing folders on the way

// Names (not paths) of the regular files in folder whose names match the
// wildcard pattern ('*' and '?', matched as the file system spells names), sorted
// by the byte order of the names. A missing folder gives none.
std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern);
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace platform
