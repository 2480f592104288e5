#include "ui/setup_application.h"

#include "base/language.h"
#include "base/message_box.h"
#include "ui/language_dialog.h"
#include "ui/progress_dialog.h"
#include "ui/resource_ids.h"
#include "ui/wide_text.h"

int RunSetupApplication(HINSTANCE resources) {
  if (!ChooseLanguage(resources)) {
    return 0;
  }
  const std::string question = LoadResourceText(resources, ResourceOffset(IDS_START_CONFIRMATION));
  if (ShowMessageBox(question, kMbYesNo | kMbIconExclamation) != kIdYes) {
    return 0;
  }
  CProgressDialog progress(resources);
  progress.DoModal();
  return 0;
}
