// The wizard at the display's DPI (wizard_layout_test.sh runs it at 96, 120, 144 and 192 in
// a prefix of its own), in English and in German: built in this process from the sample's
// configuration, and every control's text measured in the control's own font against the
// room the control gives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/ini_file.h"
#include "common/window_toolkit.h"
#include "installer/config/language_selection.h"
#include "installer/config/language_texts.h"
#include "installer/config/script_reader.h"
#include "installer/startup/startup_resources.h"
#include "installer/wizard/wizard_window.h"
#include "tests/support/test_support.h"
#include "tools/winrobot/unix_path.h"

namespace {

using namespace corvalis;

std::string SampleFile(const std::string& relative) {
  return winrobot::UnixToWindowsPath(std::string(SAMPLE_DIR) + "/config/" + relative);
}

BOOL CALLBACK Collect(HWND control, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(control);
  return TRUE;
}

// How the control's text overflows it; empty when it fits. Measured as the controls draw:
// '&' marks a mnemonic, static texts and multi-line buttons wrap at word ends.
std::string Overflow(HWND control) {
  const std::string text = ControlText(control);
  char name[32] = "";
  GetClassNameA(control, name, sizeof name);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  RECT client = {};
  GetClientRect(control, &client);
  int room = client.right;
  bool wraps = false;
  const int dpi = LayoutDpi();
  if (lstrcmpiA(name, "Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) {
      room -= MulDiv(16, dpi, 96);
    } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
      room -= MulDiv(16, dpi, 96);  // the box and its gap
      wraps = (style & BS_MULTILINE) != 0;
    } else {
      room -= 2 * GetSystemMetrics(SM_CXEDGE) + MulDiv(4, dpi, 96);  // the border and the focus frame
    }
  } else if (lstrcmpiA(name, "Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) {
      return std::string();  // a picture
    }
    wraps = type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE;
  } else {
    return std::string();  // edit fields and lists scroll
  }
  if (text.empty()) return std::string();
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT needed = {0, 0, wraps ? room : 0, 0};
  DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_EXPANDTABS | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  if (needed.right <= room && needed.bottom <= client.bottom) return std::string();
  return "#" + std::to_string(GetDlgCtrlID(control)) + " \"" + text + "\" needs " + std::to_string(needed.right) +
         " x " + std::to_string(needed.bottom) + ", has " + std::to_string(room) + " x " + std::to_string(client.bottom);
}

void ExpectTextsFit(const std::string& languageFile) {
  if (const char* dpi = std::getenv("CORVALIS_EXPECT_DPI")) {
    ASSERT_EQ(LayoutDpi(), std::atoi(dpi));
  }
  static InstallSession session;
  session.ScriptSettings = ReadScriptSettings(ParseIni(corvalis::testing::ReadWholeFile(SampleFile("Config/Script.ini"))));
  ASSERT_FALSE(LoadLanguage(session, SampleFile("Languages/" + languageFile)).Ends);
  ExpandStubPlaceholders(&session.StubTexts, session.ScriptSettings);
  session.WizardBitmapPath = SampleFile("Resources/WizBitmap.bmp");
  session.HeaderBitmapPath = SampleFile("Resources/HeadBitmap.bmp");
  session.LicensePath = SampleFile("Resources/License.txt");
  session.ReadMePath = SampleFile("Resources/ReadMe.txt");
  // The wizard clears the information folder below it once it has what it needs.
  session.WorkFolder = corvalis::testing::TempPath() + corvalis::testing::UniqueName("corvalis_layout") + "\\";
  CreateStartupResources(GetModuleHandleA(nullptr));
  WizardView* view = nullptr;
  ASSERT_FALSE(BuildWizard(session, nullptr, &view).Ends);
  std::vector<HWND> controls;
  EnumChildWindows(view->window, Collect, reinterpret_cast<LPARAM>(&controls));
  int measured = 0;
  for (HWND control : controls) {
    measured += !ControlText(control).empty();
    EXPECT_EQ(Overflow(control), "") << languageFile << " at " << LayoutDpi() << " DPI";
  }
  EXPECT_GT(measured, 20);
}

TEST(WizardLayout, EnglishTextsFit) { ExpectTextsFit("English@ascii.ini"); }
TEST(WizardLayout, GermanTextsFit) { ExpectTextsFit("German@utf-8.ini"); }

}  // namespace
