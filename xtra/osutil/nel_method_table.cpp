#include "xtra/osutil/nel_method_table.h"

#define NEL_TABLE_BODY \
  "-- Facts about this machine and its user, special folders, the Windows file and\n" \
  "-- colour dialogs, INI files and the input method editor.\n" \
  "-- Texts are UTF-8 on hosts from version 11, otherwise in the ANSI code page.\n" \
  "------------ System ------------\n" \
  "+ GetProcessName object xtraRef -- return return a exe Path and commandline arguments \n" \
  "+ GetUserName object xtraRef -- return a string\n" \
  "+ GetUserLongName object xtraRef -- return a string\n" \
  "+ GetComputerName object xtraRef -- return a string\n" \
  "+ GetOSName object xtraRef -- return a string\n" \
  "+ GetOSVersion object xtraRef -- return a string\n" \
  "+ GetMacAddress object xtraRef -- return a string\n" \
  "+ GetSystemID object xtraRef -- return a string\n" \
  "\n" \
  "------------ System Path ------------\n" \
  "+ GetDesktopFolder object xtraRef -- return a string\n" \
  "+ GetDocumentsFolder object xtraRef -- return a string\n" \
  "+ GetProgramFolder object xtraRef -- return a string\n" \
  "+ GetTempFolder object xtraRef -- return a string\n" \
  "+ GetSpecialFolder object xtraRef, integer type -- return a string\n" \
  "----- type is \n" \
  "--    CSIDL_XXXX with SHGetSpecialFolderPath for Win\n" \
  "--    kXXXXFolderType with FSFindFolder for OSX\n" \
  "\n" \
  "------------ File Dialog  ------------\n" \
  "+ GetOpenFileName object xtraRef, string defaultPath, string lpstrFilter -- return string.\n" \
  "+ GetSaveFileName object xtraRef, string defaultPath, string lpstrFilter -- return string.\n" \
  "----- about lpstrFilter \n" \
  "--    on Windows, e.g. \"All |*.*|Text File|*.txt|\" \n" \
  "--    on OSX, e.g. \"jpg,png,gif\" \n" \
  "\n" \
  "------------ Dialogs ------------\n" \
  "+ ChooseColor object xtraRef, * rgbColor  \n" \
  "\n" \
  "------------ INI Functions ------------\n" \
  "+ ReadINI object xtraRef, string Section, string Keyname, string IniFile, integer isUTF8 -- return a string \n" \
  "+ WriteINI object xtraRef, string Section, string Keyname, string Value, string IniFile, integer isUTF8 \n" \
  "+ DeleteINI object xtraRef, string Section, string Keyname, string IniFile, integer isUTF8 \n" \
  "\n" \
  "------------ for Mac OSX ------------\n" \
  "+ HFStoPOSIX object xtraRef, string HFSStylePath -- return a POSXStylePath\n" \
  "+ POSIXtoHFS object xtraRef, string POSXStylePath -- return a HFSStylePath\n" \
  "\n" \
  "------------ IM ------------\n" \
  "+ SetIMEOpenState  object xtraRef, integer bool -- \n" \
  "+ GetIMEOpenState  object xtraRef -- return bool \n" \
  "+ SetIMEConversion object xtraRef, integer type -- \n" \
  "+ GetIMEConversion object xtraRef -- return integer \n" \
  "\n"

const char kNelMethodTableBody[] = NEL_TABLE_BODY;

// "xtra nelOSUtil\n" is composed in front of the body at registration.
static_assert(sizeof("xtra nelOSUtil\n") - 1 + sizeof(NEL_TABLE_BODY) <= kNelMethodTableBytes,
              "method table must fit its registration block");
