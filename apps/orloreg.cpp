// orloreg: lists, exports and imports keys of the registry store as REGEDIT4
// text, so a person can see and seed what the programs store.

#include "platform/os/FileSystem.h"
#include "platform/os/RegEditFile.h"
#include "platform/os/RegistryStore.h"
#include "platform/rtl/Exception.h"

#include <cstdio>
#include <iostream>
#include <iterator>
#include <vector>

using namespace orlo;

namespace {

constexpr const char* Usage =
    "Usage: orloreg list [KEY]\n"
    "       orloreg export [KEY] [FILE]\n"
    "       orloreg import FILE\n"
    "\n"
    "  list    shows the sub-keys and values of KEY (without KEY: the root keys)\n"
    "  export  writes KEY and everything below it as REGEDIT4 text to FILE or,\n"
    "          without FILE or with \"-\", to standard output (without KEY: all)\n"
    "  import  creates, changes and deletes keys and values as the REGEDIT4 text\n"
    "          in FILE (\"-\" for standard input) says\n"
    "\n"
    "KEY is a root key with a path, as HKEY_CURRENT_USER\\Software\\Orlo GbR\n"
    "(HKCU, HKLM, HKCR, HKU, HKCC for short). The registry database is\n"
    "$ORLO_REGISTRY, else $XDG_CONFIG_HOME/orlo/registry.db.\n";

std::vector<TRegEditKey> ExportKeys(TRegistryStore& Store, const String& FullPath) {
    if (!FullPath.empty()) {
        HKEY Root;
        String Path;
        SplitRegistryPath(FullPath, Root, Path);
        return ExportRegistryKeys(Store, Root, Path);
    }
    std::vector<TRegEditKey> Keys;
    for (HKEY Root = HKEY_CLASSES_ROOT; Root <= HKEY_DYN_DATA; ++Root) {
        std::vector<TRegEditKey> Below = ExportRegistryKeys(Store, Root, String());
        Keys.insert(Keys.end(), Below.begin(), Below.end());
    }
    return Keys;
}

void List(TRegistryStore& Store, const String& FullPath) {
    if (FullPath.empty()) {
        for (HKEY Root = HKEY_CLASSES_ROOT; Root <= HKEY_DYN_DATA; ++Root)
            std::cout << RootKeyName(Root) << "\\\n";
        return;
    }
    HKEY Root;
    String Path;
    SplitRegistryPath(FullPath, Root, Path);
    const TRegKeyId Key = Store.OpenKey(TRegistryStore::RootKey(Root), Path, false);
    if (Key == NoRegKey)
        throw ERegistryException("Key not found: " + FullPath);
    for (const String& Name : Store.KeyNames(Key))
        std::cout << Name << "\\\n";
    for (const String& Name : Store.ValueNames(Key))
        if (const auto Value = Store.ReadValue(Key, Name))
            std::cout << FormatRegEditValue({Name, false, *Value}) << "\n";
}

void Export(TRegistryStore& Store, const String& FullPath, const String& FileName) {
    const String Text = FormatRegEdit(ExportKeys(Store, FullPath));
    if (FileName.empty() || FileName == "-")
        std::cout << Text;
    else
        ReplaceFileContent(FileName, Text);
}

String ReadInput(const String& FileName) {
    if (FileName != "-")
        return ReadFileContent(FileName);
    return String(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
}

int Run(const std::vector<String>& Args) {
    if (Args.empty())
        return 2;
    const String& Command = Args[0];
    const String Key = Args.size() > 1 ? Args[1] : String();
    if (Command == "list" && Args.size() <= 2) {
        TRegistryStore Store(RegistryDatabaseFileName());
        List(Store, Key);
    } else if (Command == "export" && Args.size() <= 3) {
        TRegistryStore Store(RegistryDatabaseFileName());
        Export(Store, Key, Args.size() > 2 ? Args[2] : String());
    } else if (Command == "import" && Args.size() == 2) {
        const auto Keys = ParseRegEdit(ReadInput(Args[1]));
        TRegistryStore Store(RegistryDatabaseFileName());
        ImportRegistryKeys(Store, Keys);
    } else {
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<String> Args(argv + 1, argv + argc);
    if (!Args.empty() && (Args[0] == "-h" || Args[0] == "--help")) {
        std::cout << Usage;
        return 0;
    }
    try {
        const int Result = Run(Args);
        if (Result == 2)
            std::cerr << Usage;
        return Result;
    } catch (const Exception& E) {
        std::cerr << "orloreg: " << E.Message() << "\n";
        return 1;
    }
}
