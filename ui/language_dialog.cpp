#include "ui/language_dialog.h"

#include "ui/resource_ids.h"

namespace {

constexpr int kChinese = 0;
constexpr int kRussian = 2;
// The dialog's result for a choice: this plus the language index, apart from IDOK and IDCANCEL.
constexpr INT_PTR kChosenLanguage = 0x100;

// The pictures live as long as the buttons that show them.
struct LanguagePictures {
  HBITMAP chinese = nullptr;
  HBITMAP russian = nullptr;
  HINSTANCE resources = nullptr;
};

HBITMAP LoadPicture(HINSTANCE resources, int id) {
  return static_cast<HBITMAP>(LoadImageW(resources, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
}

void CentreOnWorkArea(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& area = monitor.rcWork;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceButton(HWND dialog, int id, const RECT& place, HBITMAP picture) {
  HWND button = GetDlgItem(dialog, id);
  MoveWindow(button, place.left, place.top, place.right - place.left, place.bottom - place.top,
             FALSE);
  SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

void ArrangeButtons(HWND dialog, LanguagePictures* pictures) {
  pictures->chinese = LoadPicture(pictures->resources, IDB_CHOOSE_CHINESE);
  pictures->russian = LoadPicture(pictures->resources, IDB_RUSSIAN);
  BITMAP chinese = {};
  GetObjectW(pictures->chinese, sizeof(chinese), &chinese);

  RECT templatePlace;
  GetWindowRect(GetDlgItem(dialog, IDC_CHINESE_BUTTON), &templatePlace);
  POINT origin = {templatePlace.left, templatePlace.top};
  ScreenToClient(dialog, &origin);

  const LanguageDialogLayout layout =
      ComputeLanguageDialogLayout(origin, {chinese.bmWidth, chinese.bmHeight});
  PlaceButton(dialog, IDC_CHINESE_BUTTON, layout.chineseButton, pictures->chinese);
  PlaceButton(dialog, IDC_RUSSIAN_BUTTON, layout.russianButton, pictures->russian);

  RECT frame = {0, 0, layout.client.cx, layout.client.cy};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CentreOnWorkArea(dialog);
}

void Choose(HWND dialog, int language) {
  EndDialog(dialog, kChosenLanguage + language);
}

INT_PTR CALLBACK LanguageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ArrangeButtons(dialog, reinterpret_cast<LanguagePictures*>(lParam));
      // The first button, Russian, gets the focus; making it the default lets Enter choose it.
      SendMessageW(dialog, DM_SETDEFID, IDC_RUSSIAN_BUTTON, 0);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CHINESE_BUTTON:
          Choose(dialog, kChinese);
          return TRUE;
        case IDC_RUSSIAN_BUTTON:
          Choose(dialog, kRussian);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

LanguageDialogLayout ComputeLanguageDialogLayout(POINT origin, SIZE picture) {
  const LONG x = origin.x;
  const LONG y = origin.y;
  const LONG w = picture.cx;
  const LONG h = picture.cy;
  LanguageDialogLayout layout;
  layout.chineseButton = {x, y, x + w, y + h};
  layout.russianButton = {x, 2 * y + h, x + w, 2 * y + 2 * h};
  layout.client = {w + 2 * x, 3 * y + 2 * h};
  return layout;
}

bool ChooseLanguage(HINSTANCE resources, int* language) {
  LanguagePictures pictures;
  pictures.resources = resources;
  const INT_PTR result = DialogBoxParamW(resources, MAKEINTRESOURCEW(IDD_LANGUAGE), nullptr,
                                         LanguageDialogProc, reinterpret_cast<LPARAM>(&pictures));
  DeleteObject(pictures.chinese);
  DeleteObject(pictures.russian);
  if (result < kChosenLanguage) {
    return false;
  }
  *language = static_cast<int>(result - kChosenLanguage);
  return true;
}
