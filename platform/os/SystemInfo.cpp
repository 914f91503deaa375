#include "platform/os/SystemInfo.h"

#include "platform/os/FileSystem.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace orlo {

namespace {

// The user database's entry of the effective user: its home or its name.
String PasswordEntryField(bool Home) {
    std::vector<char> Buffer(16384);
    passwd Entry{};
    passwd* Found = nullptr;
    if (getpwuid_r(geteuid(), &Entry, Buffer.data(), Buffer.size(), &Found) != 0 || !Found)
        return String();
    const char* Field = Home ? Found->pw_dir : Found->pw_name;
    return Field ? Field : "";
}

String EnvironmentOr(const char* Name, const String& Fallback) {
    const String Value = GetEnvironmentVariable(Name);
    return Value.empty() ? Fallback : Value;
}

String WithoutTrailingSlash(String Dir) {
    while (Dir.size() > 1 && Dir.back() == '/')
        Dir.pop_back();
    return Dir;
}

String ExistingDirectory(const String& Dir) {
    return ForceDirectories(Dir) ? WithoutTrailingSlash(Dir) : String();
}

} // namespace

String GetEnvironmentVariable(const String& Name) {
    const char* Value = std::getenv(Name.c_str());
    return Value ? Value : "";
}

String HomeDirectory() {
    return WithoutTrailingSlash(EnvironmentOr("HOME", PasswordEntryField(true)));
}

String ConfigDirectory() {
    return WithoutTrailingSlash(EnvironmentOr("XDG_CONFIG_HOME", HomeDirectory() + "/.config"));
}

String DataDirectory() {
    return WithoutTrailingSlash(EnvironmentOr("XDG_DATA_HOME", HomeDirectory() + "/.local/share"));
}

String TempDirectory() {
    return WithoutTrailingSlash(EnvironmentOr("TMPDIR", "/tmp"));
}

String WindowsDirectory() {
    return ExistingDirectory(EnvironmentOr("ORLO_WINDIR", DataDirectory() + "/orlo/windows"));
}

String SystemDirectory() {
    const String Windows = WindowsDirectory();
    return Windows.empty() ? String() : ExistingDirectory(Windows + "/system32");
}

String ApplicationFileName() {
    std::vector<char> Buffer(PATH_MAX + 1);
    const ssize_t Length = readlink("/proc/self/exe", Buffer.data(), Buffer.size() - 1);
    return Length > 0 ? String(Buffer.data(), static_cast<size_t>(Length)) : String();
}

String UserName() {
    const String Name = PasswordEntryField(false);
    return Name.empty() ? EnvironmentOr("USER", GetEnvironmentVariable("LOGNAME")) : Name;
}

String ComputerName() {
    char Buffer[HOST_NAME_MAX + 1] = {};
    if (gethostname(Buffer, sizeof(Buffer) - 1) != 0)
        return String();
    return Buffer;
}

} // namespace orlo
