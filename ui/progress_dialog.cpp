#include "ui/progress_dialog.h"

#include <algorithm>

#include "base/language.h"
#include "base/message_box.h"
#include "base/setup_log.h"
#include "platform/owner_window.h"
#include "platform/special_folders.h"
#include "ui/message_box_win32.h"
#include "ui/resource_ids.h"

CProgressDialog::CProgressDialog(HINSTANCE resources, SetupRun& run)
    : resources_(resources),
      run_(run),
      icon_(LoadIconW(resources, MAKEINTRESOURCEW(IDI_SETUP))),
      smallIcon_(static_cast<HICON>(LoadImageW(resources, MAKEINTRESOURCEW(IDI_SETUP), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0))),
      sequencer_(*this) {
  run_.logDirectory = platform::GetTempFolder();
}

CProgressDialog::~CProgressDialog() {
  if (smallIcon_ != nullptr) {
    DestroyIcon(smallIcon_);
  }
}

INT_PTR CProgressDialog::DoModal() {
  const INT_PTR result =
      DialogBoxParamW(resources_, MAKEINTRESOURCEW(ResourceOffset(IDD_PROGRESS, Language())),
                      nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
  window_ = nullptr;
  return result;
}

void CProgressDialog::ShowStepLabel(int labelId) {
  HWND label =
      window_ != nullptr ? GetDlgItem(window_, ResourceOffset(labelId, Language())) : nullptr;
  if (label == nullptr) {
    return;
  }
  ShowWindow(label, SW_SHOW);
  // A long step follows at once; without an immediate repaint the label would wait for it.
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// The process's message function: WinMain makes it a MessageBoxW owned by this dialog.
int CProgressDialog::ShowMessage(const std::string& text, unsigned style) {
  return ShowMessageBox(text, style);
}

int CProgressDialog::ShowUnownedMessage(const std::string& text, unsigned style) {
  return ShowUnownedWin32MessageBox(text, style);
}

void CProgressDialog::WriteLog(const std::string& text) {
  AppendLogLine(text, *this);
}

void CProgressDialog::StartStepTimer() {
  SetTimer(window_, kStepTimerId, kStepIntervalMs, nullptr);
}

void CProgressDialog::StopStepTimer() {
  KillTimer(window_, kStepTimerId);
}

void CProgressDialog::CloseProgress() {
  EndDialog(window_, IDCANCEL);
}

bool CProgressDialog::OnTimer(UINT_PTR timerId) {
  return sequencer_.OnTimer(static_cast<unsigned>(timerId));
}

void CProgressDialog::EndProcess(int exitCode) {
  ExitProcess(static_cast<UINT>(exitCode));
}

// Windows may end the process any time after this message, with an exit code of its choosing:
// the run's end goes into the log and the report now, and the process ends with its own code.
// After the power-off of the last step the run has already ended and keeps its outcome.
void CProgressDialog::OnEndSession() {
  sequencer_.Interrupt("Windows ended the session");
  EndProcess(sequencer_.GetExitCode());
}

INT_PTR CALLBACK CProgressDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    auto* dialog = reinterpret_cast<CProgressDialog*>(lParam);
    dialog->window_ = window;
    dialog->OnInitDialog();
    return TRUE;
  }
  auto* dialog = reinterpret_cast<CProgressDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return dialog != nullptr ? dialog->HandleMessage(message, wParam) : FALSE;
}

namespace {

// The Russian texts are longer than the boxes the templates give them; a label cut off after its
// first word ("Сбор", or the final instruction to switch off) tells the technician nothing. Such a
// label is widened to its text, as far as the window allows; the templates stay as they are.
void WidenLabelsToTheirTexts(HWND dialog, int language) {
  RECT client;
  GetClientRect(dialog, &client);
  HDC dc = GetDC(dialog);
  HGDIOBJ previousFont =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
  // Room for one more character: a text measured to fit exactly may still lose its last dot.
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  for (int id = IDC_FIRST_STEP_LABEL; id <= IDC_LAST_STEP_LABEL; ++id) {
    HWND label = GetDlgItem(dialog, ResourceOffset(id, language));
    if (label == nullptr) {
      continue;
    }
    wchar_t text[256] = {};
    GetWindowTextW(label, text, 256);
    RECT needed = {0, 0, 0, 0};
    DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    RECT place;
    GetWindowRect(label, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    const LONG width = std::min(needed.right + metrics.tmAveCharWidth, client.right - place.left);
    if (width > place.right - place.left) {
      SetWindowPos(label, nullptr, 0, 0, width, place.bottom - place.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  SelectObject(dc, previousFont);
  ReleaseDC(dialog, dc);
}

}  // namespace

void CProgressDialog::OnInitDialog() {
  WidenLabelsToTheirTexts(window_, Language());
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(window_, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(smallIcon_ != nullptr ? smallIcon_ : icon_));
  platform::SetOwnerWindow(window_);
  StartStepTimer();
}

INT_PTR CProgressDialog::HandleMessage(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_TIMER:
      return OnTimerMessage(static_cast<UINT_PTR>(wParam));
    case WM_COMMAND:
      // Enter, Escape and Alt+F4 arrive as IDOK or IDCANCEL. Closing in the middle of an update
      // would leave the machine with the old installation gone and the new one not in place.
      return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
    case WM_ENDSESSION:
      if (wParam != FALSE) {
        OnEndSession();
      }
      return TRUE;
    case WM_PAINT:
      return PaintIconWhileMinimised();
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(icon_);
    case WM_DESTROY:
      if (platform::GetOwnerWindow() == window_) {
        platform::SetOwnerWindow(nullptr);
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CProgressDialog::OnTimerMessage(UINT_PTR timerId) {
  // A step that shows a message box runs a nested message loop; a tick arriving there must not
  // start the same step a second time.
  if (stepRunning_) {
    return TRUE;
  }
  stepRunning_ = true;
  const bool handled = OnTimer(timerId);
  stepRunning_ = false;
  return handled;
}

bool CProgressDialog::PaintIconWhileMinimised() {
  if (!IsIconic(window_)) {
    return false;
  }
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(window_, &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon_);
  EndPaint(window_, &paint);
  return true;
}
