// Identifiers of the installer's built-in images (resources of Installer.exe).
#pragma once

#define IDI_PROGRAM 100
#define IDI_DESTINATION 102
#define IDI_START_MENU 103
#define IDR_UNINSTALLER 110
