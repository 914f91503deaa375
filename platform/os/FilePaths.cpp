#include "platform/os/FilePaths.h"

namespace orlo {

namespace {

// Index just behind the last separator or drive colon; 0 when there is none.
size_t NameStart(const String& FileName) {
    for (size_t I = FileName.size(); I > 0; --I) {
        const char C = FileName[I - 1];
        if (IsPathDelimiter(C) || (C == ':' && I == 2))
            return I;
    }
    return 0;
}

} // namespace

bool IsPathDelimiter(char C) noexcept {
    return C == '/' || C == '\\';
}

bool HasTrailingPathDelimiter(const String& S) noexcept {
    return !S.empty() && IsPathDelimiter(S.back());
}

String NativePath(const String& FileName) {
    String Result = FileName;
    for (char& C : Result)
        if (C == '\\')
            C = PathDelim;
    return Result;
}

String ExtractFileDrive(const String& FileName) {
    if (FileName.size() >= 2 && FileName[1] == ':')
        return FileName.substr(0, 2);
    if (FileName.size() >= 2 && IsPathDelimiter(FileName[0]) && IsPathDelimiter(FileName[1])) {
        // \\server\share: up to the separator after the share name.
        size_t Separators = 0;
        for (size_t I = 2; I < FileName.size(); ++I)
            if (IsPathDelimiter(FileName[I]) && ++Separators == 2)
                return FileName.substr(0, I);
        return FileName;
    }
    return String();
}

String ExtractFilePath(const String& FileName) {
    return FileName.substr(0, NameStart(FileName));
}

String ExtractFileDir(const String& FileName) {
    String Dir = ExtractFilePath(FileName);
    const size_t DriveLength = ExtractFileDrive(Dir).size();
    const bool IsRoot = Dir.size() == DriveLength + 1;
    if (HasTrailingPathDelimiter(Dir) && !IsRoot)
        Dir.pop_back();
    return Dir;
}

String ExtractFileName(const String& FileName) {
    return FileName.substr(NameStart(FileName));
}

String ExtractFileExt(const String& FileName) {
    const String Name = ExtractFileName(FileName);
    const size_t Dot = Name.rfind('.');
    return Dot == String::npos ? String() : Name.substr(Dot);
}

String ChangeFileExt(const String& FileName, const String& Extension) {
    const size_t Length = FileName.size() - ExtractFileExt(FileName).size();
    return FileName.substr(0, Length) + Extension;
}

} // namespace orlo
