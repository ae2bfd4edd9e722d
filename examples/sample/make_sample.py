#!/usr/bin/env python3
"""Writes the sample's configuration files with their exact bytes: the script in
code page 1252 (its fields are separated by byte 0xB6), the English language file in
code page 1252, the German one in UTF-8 with a byte-order mark, CR LF line ends, and
the two 8-bit bitmaps. Run it after editing the texts below; its output is committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CONFIG = os.path.join(HERE, "config")
P = "\u00b6"  # field separator


def write_text(relative, lines, encoding, bom=False):
    path = os.path.join(CONFIG, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = ("\r\n".join(lines) + "\r\n").encode(encoding)
    with open(path, "wb") as f:
        f.write((b"\xef\xbb\xbf" if bom else b"") + data)


def task(*fields):
    return P.join(fields)


SCRIPT = [
    "; The package's script: what the installer asks, does and records. Written for a vendor",
    "; to edit, in ANSI (code page 1252); docs/package-reference.md describes every key.",
    "",
    "[Header]",
    "FileID = Corvalis Installer Script",
    "FileVersion = 1",
    "",
    "[Folder]",
    "Source = ..\\app",
    "",
    "[Localization]",
    "Default = English",
    "",
    "[GeneralInformation]",
    "AppName = Corvalis Sample",
    "Version = 1.0",
    "CompanyName = Corvalis Samples",
    "Website = http://127.0.0.1/corvalis-sample",
    "Email = support@example.com",
    "OutPutFile = SampleSetup.exe",
    "Compression = 9",
    "W98 = 1",
    "WME = 1",
    "WNT = 1",
    "W2K = 1",
    "WXP = 1",
    "WV = 1",
    "DotNet = 0",
    "RunIfDepNotFound = ",
    "",
    "[Look]",
    "WizBitmap = Resources\\WizBitmap.bmp",
    "HeadBitmap = Resources\\HeadBitmap.bmp",
    "IconFile = ",
    "HeaderTextColour = $000000",
    "",
    "[FilesAndSettings]",
    "RequireReadme = 1",
    "RequireLicense = 1",
    "",
    "[InstTasks]",
    "EndOldViewer = " + task("KILLTASK", "SampleViewerOld.exe, SampleHelperOld.exe"),
    "AddKey = " + task("REGADDKEY", "HKCU", "", "", "Software\\Corvalis Sample"),
    "AddPath = " + task("REGADDVALUE", "HKCU", "InstallPath", "<DefaultInstallPath>",
                        "Software\\Corvalis Sample", "REG_SZ"),
    "AddRuns = " + task("REGADDVALUE", "HKCU", "Runs", "1", "Software\\Corvalis Sample",
                        "REG_DWORD"),
    "AddScratchKey = " + task("REGADDKEY", "HKCU", "", "", "Software\\Corvalis Sample\\Scratch"),
    "DropOldValue = " + task("REGDELVALUE", "HKCU", "Obsolete", "", "Software\\Corvalis Sample"),
    "DropScratchKey = " + task("REGDELKEY", "HKCU", "", "", "Software\\Corvalis Sample\\Scratch"),
    "MakeBackup = " + task("CREATEFOLDER", "<DefaultInstallPath>Backup"),
    "CopyGuide = " + task("COPYFILE", "<DefaultInstallPath>Docs\\Guide.txt",
                          "<DefaultInstallPath>Backup\\Guide.txt"),
    "MoveNotes = " + task("MOVEFILE", "<DefaultInstallPath>Notes.txt",
                          "<DefaultInstallPath>Docs\\Notes.txt"),
    "DropScratch = " + task("DELETEFILE", "<DefaultInstallPath>Scratch.txt"),
    "DropOldFolder = " + task("DELETEFOLDER", "<DefaultInstallPath>Old", "1", "1"),
    "Associate = " + task("ASSOCIATEEXTENSION", "csmp", "Corvalis Sample document",
                          "<Windows>notepad.exe", "0"),
    "Disassociate = " + task("DISASSOCIATEEXTENSION", "csmpold", "notepad.exe"),
    "GroupReadMe = " + task("NORMALLINK", "17", "Read me", "<DefaultInstallPath>ReadMe.txt",
                            "0", "0", "Read me first"),
    "WebLink = " + task("INTERNETLINK", "17", "<ProgramName> on the web", "<CompanyWebsite>", "0"),
    "DesktopLink = " + task("NORMALLINK", "11", "<ProgramName>", "<DefaultInstallPath>Sample.txt",
                            "1", "0", "<ProgramName>"),
    "OpenReadMe = " + task("RUN", "0", "0", "0", "<DefaultInstallPath>ReadMe.txt", "",
                           "the read-me file"),
    "",
    "[UninstTasks]",
    "KeepNotes = " + task("RUN", "0", "0", "<Windows>notepad.exe", ""),
    "",
    "[uConfig]",
    "CreateUninstaller = 1",
    "RebootRequired = 0",
    "SkipExtString = ini, log",
    "IconExtUninst = 1",
    "IconExtCustom = 0",
    "IconExtPath = ",
    "IconExtIndex = 0",
    "",
    "[iConfig]",
    "RebootRequired = 0",
    "PathChangeable = 1",
    "DefaultPath = <ProgramFiles>Corvalis Sample\\",
    "AutoCreateStartMenu = 1",
    "CreateInternetLink = 1",
    "CreateUninstallLink = 1",
    "ForceGroupCreation = 1",
]

ENGLISH_STUB = [
    "Error",
    "Could not read the statistics file.",
    "You do not have enough free space on your drive. Please free some space and run this "
    "installer again.",
    "Could not read installation script from the temporary directory!",
    "This operating system is not supported by this installer!",
    "The program cannot be installed on this operating system version!",
    "One or more dependencies were not found on this computer. This program requires the "
    ".NET Framework",
    "There is not enough memory to show the read-me text.",
    "Could not read the read-me file.",
    "There is not enough memory to show the license text.",
    "Could not read the license file.",
    "Could not load the wizard picture.",
    "Could not load the header picture.",
    "License Agreement",
    "License for $APPNAME$",
    "Important information",
    "Please read the following information before installing the software",
    "Destination directory",
    "Press 'Browse' to choose another directory to install $APPNAME$.",
    "Start menu group",
    "Where should Install make the program group?",
    "Installation",
    "Please wait while the setup procedure installs the program on your computer.",
    "Setup",
    "Cancel",
    "Next",
    "Previous",
    "Finish",
    "Welcome to the $APPNAME$ version $APPVERSION$ installation wizard.",
    "This program is protected by copyright law. Copying or passing it on without the "
    "owner's permission is not allowed.",
    "This wizard will install the program on your computer. Click 'Next' to continue or "
    "'Cancel' to leave the installation.",
    "I understand and agree with the terms in the License Agreement",
    "Destination folder",
    "Browse",
    "Available space:",
    "Required space:",
    "The shortcuts of the program will be placed in the following Start menu group. Type "
    "another name or keep this one.",
    "Don't create a Start menu group",
    "Please wait while the program is installed. This may take a few minutes.",
    "Current action:",
    "Finishing the $APPNAME$ installation wizard.",
    "The program was installed. Tick the actions you want to run and click 'Finish'.",
    "in the",
    "on the",
    "Program Files folder",
    "root folder of the system drive",
    "program folder",
    "Windows folder",
    "system folder",
    "PureBasic folder",
    "Quick Launch bar of all users",
    "Quick Launch bar",
    "Start menu programs of all users",
    "Start menu programs",
    "Desktop of all users",
    "Desktop",
    "Start menu of all users",
    "Start menu",
    "shared documents folder",
    "documents folder",
    "temporary folder",
    "program group",
    "Create shortcut",
    "Create internet link",
    "Run",
    "Please confirm",
    "Are you sure you want to stop the installation now? Press 'No' to continue or 'Yes' to "
    "end this program. You can run this installer at a later time and continue the "
    "installation procedure.",
    "Warning",
    "Please select a path for the program!",
    "Browse for folder",
    "Please wait...",
    "Running applications...",
    "Adding registry value...",
    "Adding registry key...",
    "Deleting registry value...",
    "Deleting registry key...",
    "Creating shortcut...",
    "Creating internet link...",
    "Removing existing files...",
    "Moving file...",
    "Copying file...",
    "Creating folder...",
    "Deleting folder...",
    "Associating extension...",
    "Removing association...",
    "Starting service...",
    "Installing service...",
    "Stopping service...",
    "Removing service...",
    "Registering file...",
    "Unregistering file...",
    "Downloading file...",
    "Unpacking file:",
    "Reboot",
    "Restart computer (recommended)",
    "Restart",
    "for",
]

ENGLISH_UNINSTALL = [
    "Please confirm",
    "Are you sure you want to uninstall $APPNAME$?",
    "Cancel",
    "Processing uninstallation... Please wait...",
    "Restart needed",
    "In order to finish the uninstallation, your computer needs to be restarted. Would you "
    "like to restart now?",
    "Success",
    "The program was uninstalled successfully.",
]

GERMAN_STUB = [
    "Fehler",
    "Die Statistikdatei konnte nicht gelesen werden.",
    "Auf Ihrem Laufwerk ist nicht genug Platz frei. Bitte schaffen Sie Platz und starten Sie "
    "dieses Installationsprogramm erneut.",
    "Das Installationsskript konnte nicht aus dem temporären Ordner gelesen werden!",
    "Dieses Betriebssystem wird von diesem Installationsprogramm nicht unterstützt!",
    "Das Programm kann auf dieser Version des Betriebssystems nicht installiert werden!",
    "Eine oder mehrere Voraussetzungen fehlen auf diesem Computer. Dieses Programm benötigt "
    "das .NET Framework",
    "Für den Infotext ist nicht genug Speicher frei.",
    "Die Infodatei konnte nicht gelesen werden.",
    "Für den Lizenztext ist nicht genug Speicher frei.",
    "Die Lizenzdatei konnte nicht gelesen werden.",
    "Das Bild des Assistenten konnte nicht geladen werden.",
    "Das Kopfbild konnte nicht geladen werden.",
    "Lizenzvereinbarung",
    "Lizenz für $APPNAME$",
    "Wichtige Informationen",
    "Bitte lesen Sie die folgenden Informationen, bevor Sie die Software installieren",
    "Zielordner",
    "Klicken Sie auf „Durchsuchen“, um $APPNAME$ in einen anderen Ordner zu installieren.",
    "Startmenügruppe",
    "Wo soll die Programmgruppe angelegt werden?",
    "Installation",
    "Bitte warten Sie, während das Programm auf Ihrem Computer installiert wird.",
    "Setup",
    "Abbrechen",
    "Weiter",
    "Zurück",
    "Fertigstellen",
    "Willkommen beim Installationsassistenten für $APPNAME$ Version $APPVERSION$.",
    "Dieses Programm ist urheberrechtlich geschützt. Kopieren oder Weitergeben ohne "
    "Erlaubnis des Inhabers ist nicht gestattet.",
    "Der Assistent installiert das Programm auf Ihrem Computer. Klicken Sie auf „Weiter“, "
    "um fortzufahren, oder auf „Abbrechen“, um die Installation zu verlassen.",
    "Ich habe die Lizenzvereinbarung gelesen und stimme ihr zu",
    "Zielordner",
    "Durchsuchen",
    "Verfügbarer Platz:",
    "Benötigter Platz:",
    "Die Verknüpfungen des Programms werden in der folgenden Startmenügruppe abgelegt. "
    "Geben Sie einen anderen Namen ein oder behalten Sie diesen.",
    "Keine Startmenügruppe anlegen",
    "Bitte warten Sie, während das Programm installiert wird. Das kann einige Minuten dauern.",
    "Aktueller Vorgang:",
    "Der Installationsassistent für $APPNAME$ wird abgeschlossen.",
    "Das Programm wurde installiert. Wählen Sie die gewünschten Aktionen und klicken Sie auf "
    "„Fertigstellen“.",
    "im Ordner",
    "auf dem",
    "Programme",
    "Stammordner des Systemlaufwerks",
    "Programmordner",
    "Windows",
    "System",
    "PureBasic",
    "Schnellstartleiste aller Benutzer",
    "Schnellstartleiste",
    "Startmenü-Programme aller Benutzer",
    "Startmenü-Programme",
    "Desktop aller Benutzer",
    "Desktop",
    "Startmenü aller Benutzer",
    "Startmenü",
    "Gemeinsame Dokumente",
    "Dokumente",
    "Temporäre Dateien",
    "Programmgruppe",
    "Verknüpfung anlegen",
    "Internetverknüpfung anlegen",
    "Ausführen",
    "Bitte bestätigen",
    "Wollen Sie die Installation wirklich beenden? Klicken Sie auf „Nein“, um fortzufahren, "
    "oder auf „Ja“, um das Programm zu beenden. Sie können die Installation später erneut "
    "starten.",
    "Warnung",
    "Bitte wählen Sie einen Ordner für das Programm!",
    "Ordner suchen",
    "Bitte warten...",
    "Programme werden ausgeführt...",
    "Registrierungswert wird angelegt...",
    "Registrierungsschlüssel wird angelegt...",
    "Registrierungswert wird gelöscht...",
    "Registrierungsschlüssel wird gelöscht...",
    "Verknüpfung wird angelegt...",
    "Internetverknüpfung wird angelegt...",
    "Vorhandene Dateien werden entfernt...",
    "Datei wird verschoben...",
    "Datei wird kopiert...",
    "Ordner wird angelegt...",
    "Ordner wird gelöscht...",
    "Dateityp wird verknüpft...",
    "Dateityp-Verknüpfung wird entfernt...",
    "Dienst wird gestartet...",
    "Dienst wird installiert...",
    "Dienst wird angehalten...",
    "Dienst wird entfernt...",
    "Datei wird registriert...",
    "Registrierung der Datei wird aufgehoben...",
    "Datei wird heruntergeladen...",
    "Entpacke Datei:",
    "Neustart",
    "Computer neu starten (empfohlen)",
    "Neustart",
    "für",
]

GERMAN_UNINSTALL = [
    "Bitte bestätigen",
    "Wollen Sie $APPNAME$ wirklich deinstallieren?",
    "Abbrechen",
    "Die Deinstallation läuft... Bitte warten...",
    "Neustart nötig",
    "Um die Deinstallation abzuschließen, muss Ihr Computer neu gestartet werden. Wollen Sie "
    "ihn jetzt neu starten?",
    "Erfolg",
    "Das Programm wurde erfolgreich deinstalliert.",
]


def language_file(name, author, stub, uninstall):
    assert len(stub) == 97 and len(uninstall) == 8, name
    lines = ["[VLX Localization File] = ", "Language = " + name, "Author = " + author,
             "Contact = support@example.com", "", "[LocalizationProgramData]",
             "Key0 = Corvalis package builder", "", "[LocalizationStub]"]
    lines += ["Key%d = %s" % (i, text) for i, text in enumerate(stub)]
    lines += ["", "[LocalizationUninstall]"]
    lines += ["Key%d = %s" % (i, text) for i, text in enumerate(uninstall)]
    return lines


def bitmap(relative, width, height, colour):
    """An 8-bit bitmap with a 256-entry palette: a soft gradient of one hue."""
    palette = b"".join(
        struct.pack("<BBBB", *(int(c * (128 + i // 2) / 255) for c in colour[::-1]), 0)
        for i in range(256))
    stride = (width + 3) & ~3
    rows = b"".join(
        bytes((x + y) * 255 // (width + height) for x in range(width)) + b"\0" * (stride - width)
        for y in range(height))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    path = os.path.join(CONFIG, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(header + info + palette + rows)


write_text("Config/Script.ini", SCRIPT, "cp1252")
write_text("Languages/English@ascii.ini",
           language_file("English", "Corvalis Samples", ENGLISH_STUB, ENGLISH_UNINSTALL), "cp1252")
write_text("Languages/German@utf-8.ini",
           language_file("Deutsch", "Corvalis Samples", GERMAN_STUB, GERMAN_UNINSTALL), "utf-8",
           bom=True)
bitmap("Resources/WizBitmap.bmp", 155, 310, (40, 90, 160))
bitmap("Resources/HeadBitmap.bmp", 500, 60, (230, 235, 245))
