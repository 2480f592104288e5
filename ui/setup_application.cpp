#include "ui/setup_application.h"

#include "app/run_report_output.h"
#include "base/language.h"
#include "base/message_box.h"
#include "base/message_sink.h"
#include "base/setup_run.h"
#include "platform/special_folders.h"
#include "ui/language_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/resource_ids.h"
#include "ui/wide_text.h"

namespace {

// Ended before the progress dialog opened: nothing changed, and the report says so.
int CancelBeforeTheUpdate(SetupRun& run) {
  run.logDirectory = platform::GetTempFolder();
  CMessageBoxSink sink(run);
  return WriteCancelledRunReport(sink);
}

}  // namespace

int RunSetupApplication(HINSTANCE resources) {
  SetupRun run;
  if (!ChooseLanguage(resources, &run.language)) {
    return CancelBeforeTheUpdate(run);
  }
  const std::string question = LoadResourceText(
      resources, static_cast<UINT>(ResourceOffset(IDS_START_CONFIRMATION, run.language)));
  if (ShowMessageBox(question, kMbYesNo | kMbIconExclamation) != kIdYes) {
    return CancelBeforeTheUpdate(run);
  }
  CProgressDialog progress(resources, run);
  progress.DoModal();
  return progress.ExitCode();
}
