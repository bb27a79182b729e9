#pragma once
// Small file helpers over the C library: paths are bytes in the file
// system's encoding (UTF-8 here).
#include <string>
#include <string_view>
#include <vector>

namespace platform {

bool ReadWholeFile(const std::string& path, std::string& bytes);
// Writes through a temporary file of a unique name in the same folder and
// renames it over path, so that two writers at once both succeed (the
// last one's file stays). The file keeps the mode of the one it replaces.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);
// ReplaceFileAtomically, creating the file's folder when it is missing; the
// outcome is reported (ReportWriteFailure, NoteWriteSuccess).
bool SaveWholeFile(const std::string& path, std::string_view bytes);
// A regular file that nobody may write: no write permission, or for the
// superuser, who may write anything, no write bit at all.
bool FileIsReadOnly(const std::string& path);
// Opens a file for appending (creating it and its folder when missing); -1
// when it cannot be opened.
int OpenForAppend(const std::string& path);
// Appends bytes to the end of a file opened for appending, whole or not at
// all: after a short write (a full disk, a size limit) the file is cut back
// to where the bytes began, so that no reader meets half a record.
bool AppendWhole(int fd, std::string_view bytes);
// OpenForAppend and AppendWhole once; the outcome is reported
// (ReportWriteFailure, NoteWriteSuccess).
bool AppendToFile(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);     // a regular file
// Nothing at all is there, a link followed: neither a file of any kind nor
// the folders on the way.
bool NothingAt(const std::string& path);
bool FolderExists(const std::string& path);   // a directory
// Two names of one existing file (through links, or spelt otherwise).
bool SameFile(const std::string& a, const std::string& b);
// Whether path still names the file fd has open (not deleted, moved away or
// replaced since it was opened).
bool NamesOpenFile(const std::string& path, int fd);
bool EnsureFolder(const std::string& path);   // creates missing folders on the way

// Names (not paths) of the regular files in folder whose names match the
// wildcard pattern ('*' and '?', matched as the file system spells names), sorted
// by the byte order of the names. A missing folder gives none.
std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern);
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace platform
