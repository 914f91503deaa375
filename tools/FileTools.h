#pragma once
// File tools of the tool library: path strings, simple file-system questions
// and TLogFile, the component that appends lines to a log file.
//
// Paths: "/" and "\" both separate, "/" is what these routines add. A path is
// complete when it starts with "/", with two separators (a network path) or has
// a drive colon as its second character; drive prefixes are kept when given.
// No routine throws for a missing file or folder; it answers false or "".

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Variant.h"
#include "tools/ExComponent.h"

namespace orlo {

// The trimmed path with one trailing separator; an empty path stays empty.
String AppendBackslash(const String& Path);
// The trimmed path without its trailing separator; one character stays as it is.
String RemoveBackslash(const String& Path);
bool IsDirNameComplete(const String& Path);
// Name (trimmed) made complete against Dir: a complete name stays; a name that
// starts with a separator goes below Dir's drive; any other below Dir itself.
String ExpandFileNameByDir(const String& Name, const String& Dir);
// The running program's folder, without trailing separator (except "/").
String GetApplicationDir();
String ExpandApplicationDir(const String& Name);
// The folder that stands in for the Windows directory; "" when unavailable.
String GetWindowsDir();
// A file (not a folder) matching the name, which may hold "*" and "?".
bool FileExist(const String& FileName);
// An existing folder (an empty one counts: its "." entry is found).
bool DirExist(const String& Dir);
// Creates the folder with every missing parent; true when it exists afterwards.
bool CreateDirRecurse(const String& Dir);
// The path shortened for display to at most MaxLen characters, middle folders
// replaced by "...". Exception "ShortPath failed. MaxLen must be larger than 7".
String ShortPath(const String& Path, Integer MaxLen);
// The complete form of FileName: relative names are taken from the current
// folder, "." and ".." resolved, separators written as "/"; a drive or network
// prefix stays as given, and a trailing separator stays.
String ExpandFileName(const String& FileName);
// FileName when no file or folder of that name exists; otherwise the first free
// name of folder + base name + "_2" + extension, "_3", ... (characters a file
// name may not hold in the base name become "_").
String MakeUniqueFileName(const String& FileName);

// A log file at a place another local user prepared: a symbolic link, not a
// regular file, or in a folder that is a link or belongs to another user.
ORLO_EXCEPTION(ELogFileRefused, EInOutError);

ORLO_ENUM(TLogFileDir, fdApplication, fdTemporary, fdWindows, fdSystem)
ORLO_ENUM(TLogFileMode, fmOpenFile, fmCreateFile, fmCreateUniqueFile)

// Appends lines to a log file, opened on the first write. With CRC every value
// line starts with a checksum chained over the lines before it (from the "#"
// line that each opening writes), so a later change of the file shows.
class TLogFile : public TExComponent {
    ORLO_CLASS(TLogFile, TExComponent)
public:
    explicit TLogFile(TComponent* AOwner);
    ~TLogFile() override;

    bool CRC() const noexcept { return FCRC; }
    void SetCRC(bool Value) noexcept { FCRC = Value; }
    TLogFileDir Directory() const noexcept { return FDirectory; }
    void SetDirectory(TLogFileDir Value);
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool Value) noexcept { FEnabled = Value; }
    const String& FileName() const noexcept { return FFileName; }
    void SetFileName(const String& Value); // the next write opens the new file
    bool IgnoreErrors() const noexcept { return FIgnoreErrors; }
    void SetIgnoreErrors(bool Value) noexcept { FIgnoreErrors = Value; }
    TLogFileMode Mode() const noexcept { return FMode; }
    void SetMode(TLogFileMode Value);
    bool TimeStamp() const noexcept { return FTimeStamp; }
    void SetTimeStamp(bool Value) noexcept { FTimeStamp = Value; }

    // The file the log writes to; "" while none is open.
    const String& OpenFileName() const noexcept { return FOpenFileName; }

    // Opens the file now. EInOutError "Error creating log file" when it cannot
    // be opened and IgnoreErrors is false. Folders the log creates are private
    // to the user. A log at a place another user prepared (ELogFileRefused
    // "Log file "%s" refused: %s") is never opened and always reported, with
    // IgnoreErrors only once: later writes to it are dropped.
    void CreateFile();
    void CloseFile();
    // One line with the value's text (after the time stamp, with TimeStamp).
    void WriteValue(const Variant& Value);
    // One line with the current date and time only, never with a checksum.
    void WriteTimeStamp();

    // The checksum line of Text (which ends in CR LF) for the chain value
    // Chain, which moves on to the next line's.
    static String ChecksumLine(Cardinal& Chain, const String& Text);

private:
    bool Open();
    void OpenFile();
    void Retarget();
    String LogFolder() const;
    void OpenHandle(const String& Path);
    void Append(const String& Line);

    bool FCRC = false;
    TLogFileDir FDirectory = fdApplication;
    bool FEnabled = true;
    String FFileName;
    bool FIgnoreErrors = true;
    TLogFileMode FMode = fmOpenFile;
    bool FTimeStamp = false;

    int FHandle = -1;
    String FOpenFileName;
    bool FRefusalReported = false; // until the file name, folder or mode changes
    Cardinal FChain = 0;
};

} // namespace orlo
