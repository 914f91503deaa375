#pragma once
// Facts about the process, the user and the machine, and the folders the
// platform keeps its data in. Folder names come without a trailing "/".

#include "platform/rtl/Types.h"

namespace orlo {

// The variable's value; empty when it is not set.
String GetEnvironmentVariable(const String& Name);

String HomeDirectory();   // $HOME, else the user database's entry
String ConfigDirectory(); // $XDG_CONFIG_HOME, else ~/.config
String DataDirectory();   // $XDG_DATA_HOME, else ~/.local/share
String TempDirectory();   // $TMPDIR, else /tmp

// The folder that stands in for the Windows directory: $ORLO_WINDIR, else
// $XDG_DATA_HOME/orlo/windows. Created when missing; empty when it cannot be.
String WindowsDirectory();
// Its "system32" sub-folder, created likewise.
String SystemDirectory();

String ApplicationFileName(); // the running program's file, complete
String UserName();            // login name of the effective user
String ComputerName();        // the host name

} // namespace orlo
