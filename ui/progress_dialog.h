// The progress dialog (template 102 or 1102): the program's main window while the update runs.
// Its step timer drives the update sequencer, which shows the step labels and asks through it.
#pragma once

#include <windows.h>

#include <string>

#include "app/update_sequencer.h"
#include "base/setup_run.h"

class CProgressDialog : public ISequencerHost {
 public:
  // `resources` is the module holding the templates and the icon; `run` holds the language the
  // language dialog chose.
  CProgressDialog(HINSTANCE resources, SetupRun& run);
  ~CProgressDialog() override;
  CProgressDialog(const CProgressDialog&) = delete;
  CProgressDialog& operator=(const CProgressDialog&) = delete;

  // Runs the dialog of the current language until CloseProgress; returns its result.
  INT_PTR DoModal();
  HWND Window() const { return window_; }
  // The process exit code the run has come to.
  int ExitCode() const { return sequencer_.GetExitCode(); }

  void ShowStepLabel(int labelId) override;
  int ShowMessage(const std::string& text, unsigned style) override;
  int ShowUnownedMessage(const std::string& text, unsigned style) override;
  void WriteLog(const std::string& text) override;
  SetupRun& Run() const override { return run_; }
  void StartStepTimer() override;
  void StopStepTimer() override;
  void CloseProgress() override;

 protected:
  // One timer event; true when it was handled. By default the sequencer takes it.
  virtual bool OnTimer(UINT_PTR timerId);
  // Ends the process at once with `exitCode`, as Windows is about to end it with the session.
  virtual void EndProcess(int exitCode);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam);
  void OnInitDialog();
  INT_PTR OnTimerMessage(UINT_PTR timerId);
  void OnEndSession();
  bool PaintIconWhileMinimised();

  HINSTANCE resources_;
  SetupRun& run_;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HWND window_ = nullptr;
  bool stepRunning_ = false;
  CUpdateSequencer sequencer_;
};
