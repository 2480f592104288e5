#include "ui/setup_application.h"

#include "app/run_report_output.h"
#include "base/language.h"
#include "base/message_box.h"
#include "base/message_sink.h"
#include "base/setup_log.h"
#include "platform/special_folders.h"
#include "ui/language_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/resource_ids.h"
#include "ui/wide_text.h"

namespace {

// Ended before the progress dialog opened: nothing changed, and the report says so.
int CancelBeforeTheUpdate() {
  SetLogDirectory(platform::GetTempFolder());
  return WriteCancelledRunReport(ProcessMessageSink());
}

}  // namespace

int RunSetupApplication(HINSTANCE resources) {
  if (!ChooseLanguage(resources)) {
    return CancelBeforeTheUpdate();
  }
  const std::string question = LoadResourceText(resources, ResourceOffset(IDS_START_CONFIRMATION));
  if (ShowMessageBox(question, kMbYesNo | kMbIconExclamation) != kIdYes) {
    return CancelBeforeTheUpdate();
  }
  CProgressDialog progress(resources);
  progress.DoModal();
  return progress.ExitCode();
}
