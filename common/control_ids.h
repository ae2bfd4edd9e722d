// The control identifiers of every window of the installer and the uninstaller, in one
// place: the programs and the tests that drive their windows both include this header.
#pragma once

namespace corvalis {

// Buttons that end or answer a window; the dialog manager knows these two.
constexpr int kIdOk = 1;      // IDOK
constexpr int kIdCancel = 2;  // IDCANCEL

// A static control nobody addresses (icons, fixed texts).
constexpr int kIdNone = -1;

// Language selection dialog.
constexpr int kIdLanguageList = 100;

// Preparation ("Initializing...") and export windows: the Cancel button is kIdCancel.
constexpr int kIdProgressBar = 110;

}  // namespace corvalis
