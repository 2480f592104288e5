#include <optional>
#include <string>
#include <vector>

#include "base/folder_tree.h"
#include "base/message_styles.h"
#include "base/messages.h"
#include "base/path_compose.h"
#include "base/setup_run.h"
#include "base/text_format.h"
#include "migration/amendment_file.h"
#include "migration/file_walks.h"
#include "migration/parameter_migration.h"
#include "migration/parameter_validation.h"
#include "migration/setup_config.h"
#include "migration/temporary_parameter_files.h"
#include "migration/unfinished_run.h"
#include "platform/file_system.h"
#include "platform/setup_api.h"
#include "platform/text_encoding.h"

bool TransferParameterFiles(IMessageSink& sink, MigrationContext* context) {
  if (!context->parametersAccepted) {
    return false;
  }
  const InstallationLayout& layout = sink.Run().layout;
  if (!IsVersionCompatible(sink, layout, *context)) {
    for (ConfigurationRecord& record : context->configurations) {
      MarkNotCarried(&record, "the new version is not compatible with the old one");
    }
    sink.ShowMessage(sink.Localise(kVersionsIncompatible), kMbOk | kMbIconExclamation);
    return false;
  }
  CControllerFormat format(sink, layout.formatFile);

  std::vector<std::string> written;
  std::vector<std::string> notWritten;
  std::vector<platform::DirectoryEntry> entries;
  // Unlisted, the folder would pass for an empty one and go with every parameter it holds.
  const bool listed = platform::ListDirectory(context->migrationFolder + "\\*.*", &entries) ||
                      platform::LastErrorMeansMissing();
  if (!listed) {
    sink.WriteLogFormatted("|E|The migration folder %s cannot be listed: %s\n",
                           context->migrationFolder.c_str(),
                           platform::SystemErrorText(platform::LastErrorCode()).c_str());
    for (ConfigurationRecord& record : context->configurations) {
      notWritten.push_back(record.name);
      MarkNotCarried(&record, "the migration folder could not be listed");
    }
  }
  for (const platform::DirectoryEntry& entry : entries) {
    TemporaryFileTarget named;
    if (!TargetOfTemporaryName(entry.name, &named)) {
      continue;
    }
    const std::string& configuration = named.configuration;
    ConfigurationRecord& record = FindOrAddRecord(&context->configurations, configuration);
    const std::optional<AmendmentTarget> target = AmendmentTargetOf(sink, layout, entry.name);
    const std::optional<std::string> temporaryFile =
        ComposePath(sink, {context->migrationFolder, "\\", entry.name});
    // Passed over, its temporary file would go with the migration folder: the only copy.
    if (!target || !temporaryFile) {
      sink.WriteLogFormatted(
          "|E|Parameters of configuration '%s' not carried: the path of its amendment file or "
          "temporary file is too long\n",
          configuration.c_str());
      notWritten.push_back(configuration);
      MarkNotCarried(&record, "the path of its amendment file or temporary file is too long");
      continue;
    }
    const platform::PathKind folder = platform::QueryPath(target->configurationFolder);
    if (folder == platform::PathKind::kUnknown) {
      sink.WriteLogFormatted("|E|Parameters of configuration '%s' not carried: %s: %s\n",
                             configuration.c_str(), target->configurationFolder.c_str(),
                             platform::SystemErrorText(platform::LastErrorCode()).c_str());
      notWritten.push_back(configuration);
      MarkNotCarried(&record, "its configuration folder could not be looked at");
      continue;
    }
    // Configurations the new installation no longer has are passed over.
    if (folder != platform::PathKind::kFolder) {
      MarkNotCarried(&record, "the new installation has no such configuration");
      continue;
    }
    if (TransferConfiguration(sink, *temporaryFile, target->amendmentFile, &format) == 0) {
      written.push_back(configuration);
      record.status = ConfigurationRecord::Status::kCarried;
      record.reason.clear();
    } else {
      sink.WriteLogFormatted(
          "|E|Parameters of configuration '%s' not carried: %s cannot be written\n",
          configuration.c_str(), target->amendmentFile.c_str());
      notWritten.push_back(configuration);
      MarkNotCarried(&record, "its amendment file could not be written");
    }
  }
  // The temporary files are the only copy of parameters that did not reach their amendment file.
  // Once all have, the binary files go first and the record of the run next: cut off at any point
  // in between, the next run finds either the record or the parameters waiting in amend.dat.
  if (notWritten.empty() && listed) {
    DeleteFilesRecursively(sink, layout.configurationTree, kParameterFileName,
                           kParameterBackupName);
    RemoveUnfinishedRun(context->migrationFolder);
    DeleteTree(sink, context->migrationFolder);
  }

  std::string report;
  if (!written.empty()) {
    report = sink.Localise(kTransferReportHeader);
    for (const std::string& configuration : written) {
      report += platform::SystemTextToUtf8(configuration) + "\n";
    }
    report += sink.Localise(kTransferSucceeded);
  }
  for (const std::string& configuration : notWritten) {
    report += FormatText(sink.Localise(kTransferWriteFailed),
                         platform::SystemTextToUtf8(configuration).c_str(),
                         platform::SystemTextToUtf8(context->migrationFolder).c_str());
  }
  for (const ConfigurationRecord& record : context->configurations) {
    if (record.fromDamagedFile) {
      report += FormatText(sink.Localise(kTransferFromDamagedFile),
                           platform::SystemTextToUtf8(record.name).c_str());
    }
  }
  for (const ConfigurationRecord& record : context->configurations) {
    for (const std::string& field : record.valuesLeftOut) {
      report += FormatText(sink.Localise(kTransferValueNotCarried),
                           platform::SystemTextToUtf8(record.name).c_str(), field.c_str());
    }
  }
  if (!report.empty()) {
    sink.ShowMessage(report, kMbOk | kMbIconExclamation);
  }
  DeleteFilesRecursively(sink, layout.configurationTree, kParameterFileName, kParameterBackupName);
  return true;
}
