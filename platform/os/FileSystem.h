#pragma once
// Files and folders: attributes, search with wildcards, copy, delete, folder
// creation and removal, and whole-file reading and atomic replacement. Names
// may use "/" or "\" as separator. No routine here throws for a missing file;
// failures are answered through the result, except where noted.
//
// Attributes map to the file system as follows: read-only = no write
// permission bit set; hidden = the name starts with a dot; directory = a
// folder; archive = a regular file; system = anything else (devices, pipes,
// sockets). Names are compared exactly: the file system tells letter case apart.

#include "platform/rtl/Types.h"

#include <vector>

namespace orlo {

constexpr Integer faReadOnly = 0x01;
constexpr Integer faHidden = 0x02;
constexpr Integer faSysFile = 0x04;
constexpr Integer faVolumeID = 0x08;
constexpr Integer faDirectory = 0x10;
constexpr Integer faArchive = 0x20;
constexpr Integer faAnyFile = 0x3F;

// The attributes of the file or folder; -1 when it does not exist.
Integer FileGetAttr(const String& FileName);
// Only faReadOnly can be changed: set, it removes every write permission bit;
// cleared, it gives the owner write permission. False when the file is missing.
bool FileSetAttr(const String& FileName, Integer Attr);

// One entry of a search.
struct TSearchRec {
    String Name; // without the folder
    Integer Attr = 0;
    Int64 Size = 0;
    TDateTime Time = 0; // last modification, local time

    // The rest of the search.
    std::vector<TSearchRec> Pending;
};

// Searches the folder of Path for names matching its last part, where "*"
// stands for any run of characters and "?" for one ("*.*" matches every name,
// with a dot or without). Entries with faHidden, faSysFile or faDirectory are
// found only when Attr holds that attribute; a folder's "." and ".." entries
// count as directories. Answers 0 and fills F when something is found, else a
// non-zero error number.
Integer FindFirst(const String& Path, Integer Attr, TSearchRec& F);
Integer FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// True for an existing file, or folder, of that name.
bool FileExists(const String& FileName);
// True for an existing regular file (links followed): not a folder, device,
// pipe or socket, which a reader of whole files must not open.
bool RegularFileExists(const String& FileName);
bool DirectoryExists(const String& Name);

// Copies content and permission bits; with FailIfExists an existing target is
// left alone and the copy fails. The target appears complete or not at all.
bool CopyFile(const String& Source, const String& Target, bool FailIfExists);
bool DeleteFile(const String& FileName);  // files only
bool CreateDir(const String& Dir);        // one level
bool ForceDirectories(const String& Dir); // every missing level
bool RemoveDir(const String& Dir);        // empty folders only
String GetCurrentDir();

// The whole file. EFOpenError "Cannot open file "%s". %s" (the system's reason).
String ReadFileContent(const String& FileName);
// Replaces the file's content: writes a new file beside it, flushes it to disk
// and renames it over the old one, so readers and crashes see the old or the
// new content, never a mix. An existing file keeps its permission bits; the
// new file is private to the user until it has them. A symbolic link stays in
// place and the file it leads to is replaced. Devices, pipes and the open
// files of a process (/dev/stdout) are written to directly. Hidden siblings
// left by writers that died are removed. EFCreateError "Cannot create file "%s". %s".
void ReplaceFileContent(const String& FileName, const String& Content);
// The same; the system's error number, 0 when the file was replaced.
int TryReplaceFileContent(const String& FileName, const char* Data, size_t Size);

} // namespace orlo
