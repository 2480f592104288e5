// The resources of the built Setup.exe against the texts of the message catalogue and the
// documented template geometry.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/messages.h"
#include "tests/ui/setup_module.h"
#include "tests/ui/window_driver.h"
#include "ui/resource_ids.h"
#include "ui/wide_text.h"

namespace {

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// A dialog made from the template as it is, without the program's own initialisation.
class TemplateWindow {
 public:
  explicit TemplateWindow(int id)
      : window_(CreateDialogParamW(SetupModule(), MAKEINTRESOURCEW(id), nullptr, PassiveDialogProc,
                                   0)) {}
  ~TemplateWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }

  // A rectangle given in dialog units, in pixels of this dialog's client area.
  // The dialog manager converts place and size separately, so rounding never joins them.
  RECT Pixels(int x, int y, int width, int height) const {
    RECT units = {x, y, width, height};
    MapDialogRect(window_, &units);
    return {units.left, units.top, units.left + units.right, units.top + units.bottom};
  }
  RECT ControlPlace(int id) const {
    RECT rect;
    GetWindowRect(GetDlgItem(window_, id), &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

 private:
  HWND window_;
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

const BITMAPINFOHEADER* RawBitmap(int id) {
  HRSRC found = FindResourceW(SetupModule(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
  return found != nullptr ? static_cast<const BITMAPINFOHEADER*>(
                                LockResource(LoadResource(SetupModule(), found)))
                          : nullptr;
}

std::string RawText(LPCWSTR type, int id) {
  HRSRC found = FindResourceW(SetupModule(), MAKEINTRESOURCEW(id), type);
  if (found == nullptr) {
    return {};
  }
  const char* data = static_cast<const char*>(LockResource(LoadResource(SetupModule(), found)));
  return std::string(data, SizeofResource(SetupModule(), found));
}

struct LabelPlace {
  int id, russianY, russianWidth, chineseY, chineseWidth;
};

constexpr LabelPlace kLabels[] = {
    {140, 7, 95, 18, 77},    {141, 19, 147, 31, 77},   {142, 43, 70, 57, 45},
    {143, 31, 155, 44, 77},  {144, 55, 106, 70, 61},   {145, 67, 82, 83, 61},
    {146, 79, 98, 96, 61},   {147, 91, 81, 109, 61},   {148, 103, 154, 122, 69},
    {149, 115, 80, 135, 45}, {150, 127, 156, 148, 77}, {151, 139, 117, 161, 117},
};

}  // namespace

TEST(SetupResources, StartQuestionIsTheCataloguesInBothLanguages) {
  EXPECT_EQ(LoadResourceText(SetupModule(), IDS_START_CONFIRMATION), kStartConfirmation.chinese);
  EXPECT_EQ(LoadResourceText(SetupModule(), IDS_START_CONFIRMATION + 1000),
            kStartConfirmation.second);
}

TEST(SetupResources, PicturesIconManifestAndVersion) {
  const BITMAPINFOHEADER* chinese = RawBitmap(IDB_CHOOSE_CHINESE);
  ASSERT_NE(chinese, nullptr);
  EXPECT_EQ(chinese->biWidth, 200);
  EXPECT_EQ(chinese->biHeight, 35);
  EXPECT_EQ(chinese->biBitCount, 4);
  const BITMAPINFOHEADER* russian = RawBitmap(IDB_RUSSIAN);
  ASSERT_NE(russian, nullptr);
  EXPECT_EQ(russian->biWidth, 199);
  EXPECT_EQ(russian->biHeight, 36);
  EXPECT_EQ(russian->biBitCount, 32);

  EXPECT_NE(LoadIconW(SetupModule(), MAKEINTRESOURCEW(IDI_SETUP)), nullptr);

  const std::string manifest = RawText(MAKEINTRESOURCEW(24), 1);
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);

  EXPECT_NE(RawText(MAKEINTRESOURCEW(16), 1).size(), 0u) << "no version record";
}

TEST(SetupResources, LanguageDialogTemplate) {
  TemplateWindow dialog(IDD_LANGUAGE);
  ASSERT_NE(dialog.get(), nullptr);
  EXPECT_EQ(WindowTextUtf8(dialog.get()), kLanguageDialogCaption);
  EXPECT_NE(GetWindowLongW(dialog.get(), GWL_STYLE) & WS_SYSMENU, 0) << "needs the close box";

  RECT client;
  GetClientRect(dialog.get(), &client);
  EXPECT_TRUE(SameRect(client, dialog.Pixels(0, 0, 187, 72))) << Describe(client);
  EXPECT_TRUE(SameRect(dialog.ControlPlace(IDC_CHINESE_BUTTON), dialog.Pixels(7, 7, 173, 24)));
  EXPECT_TRUE(SameRect(dialog.ControlPlace(IDC_RUSSIAN_BUTTON), dialog.Pixels(7, 41, 173, 24)));
  EXPECT_EQ(WindowTextUtf8(GetDlgItem(dialog.get(), IDC_CHINESE_BUTTON)), "Buttonchn");
  EXPECT_EQ(WindowTextUtf8(GetDlgItem(dialog.get(), IDC_RUSSIAN_BUTTON)), "Buttoneng");
  // The first tab stop takes the focus when the dialog opens.
  EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(dialog.get(), nullptr, FALSE)), IDC_RUSSIAN_BUTTON);
}

TEST(SetupResources, ProgressTemplatesHoldTheHiddenLabelsInPlace) {
  for (const bool russian : {false, true}) {
    SCOPED_TRACE(russian ? "Russian" : "Chinese");
    const int offset = russian ? 1000 : 0;
    TemplateWindow dialog(IDD_PROGRESS + offset);
    ASSERT_NE(dialog.get(), nullptr);

    EXPECT_EQ(WindowTextUtf8(dialog.get()),
              russian ? kProgressCaption.second : kProgressCaption.chinese);
    const LONG style = GetWindowLongW(dialog.get(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION);
    EXPECT_NE(GetWindowLongW(dialog.get(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    RECT client;
    GetClientRect(dialog.get(), &client);
    EXPECT_TRUE(SameRect(client, dialog.Pixels(0, 0, 311, russian ? 157 : 187)))
        << Describe(client);

    for (const LabelPlace& place : kLabels) {
      SCOPED_TRACE(place.id + offset);
      HWND label = GetDlgItem(dialog.get(), place.id + offset);
      ASSERT_NE(label, nullptr);
      EXPECT_FALSE(IsWindowVisible(label));
      const TwoTextMessage* text = StepLabelText(place.id);
      EXPECT_EQ(WindowTextUtf8(label), russian ? text->second : text->chinese);
      const RECT expected = russian ? dialog.Pixels(7, place.russianY, place.russianWidth, 8)
                                    : dialog.Pixels(7, place.chineseY, place.chineseWidth, 8);
      EXPECT_TRUE(SameRect(dialog.ControlPlace(place.id + offset), expected))
          << Describe(dialog.ControlPlace(place.id + offset));
    }
    // The other language's labels are not in this template.
    EXPECT_EQ(GetDlgItem(dialog.get(), (russian ? 140 : 1140)), nullptr);
  }
}
