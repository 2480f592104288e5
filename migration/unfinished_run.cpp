#include "migration/unfinished_run.h"

#include <cstdio>

#include "base/atomic_file.h"
#include "base/message_styles.h"
#include "base/messages.h"
#include "base/text_format.h"
#include "migration/temporary_parameter_files.h"
#include "platform/file_system.h"
#include "platform/local_time.h"
#include "platform/profile.h"
#include "platform/text_encoding.h"

namespace {

// Its name has no "_amend.dat": the transfer passes it over like any other stranger.
const char kRecordName[] = "\\setup_run.ini";
const char kSection[] = "UnfinishedRun";
const char kSeparator = '|';

}  // namespace

bool WriteUnfinishedRun(IMessageSink& sink, const MigrationContext& context,
                        const std::vector<std::string>& configurations) {
  std::string names;
  for (const std::string& name : configurations) {
    names += (names.empty() ? "" : std::string(1, kSeparator)) + name;
  }
  const std::string text =
      std::string("[") + kSection +
      "]\r\nStarted=" + FormatTime(platform::ReadLocalTime(), "%04u-%02u-%02u %02u:%02u:%02u") +
      "\r\nInstallationKey=" + context.savedInstallationKey +
      "\r\nMajorVersion=" + context.savedMajorVersion + "\r\nConfigurations=" + names + "\r\n";
  const std::string record = context.migrationFolder + kRecordName;
  const bool written = WriteFileAtomically(record, text, record + ".tmp");
  if (!written) {
    sink.WriteLogFormatted("|E|The record of this run could not be written into %s\n",
                           context.migrationFolder.c_str());
  }
  return written;
}

std::string FindUnreadableUnfinishedRun(const std::string& migrationFolder) {
  const std::string record = migrationFolder + kRecordName;
  const platform::PathKind kind = platform::QueryPath(record);
  return kind != platform::PathKind::kMissing && kind != platform::PathKind::kUnknown &&
                 !platform::IsProfileReadable(record)
             ? record
             : "";
}

void RemoveUnfinishedRun(const std::string& migrationFolder) {
  platform::RemoveFile(migrationFolder + kRecordName);
}

KeptRunLookup ReadUnfinishedRun(const std::string& migrationFolder, UnfinishedRun* run) {
  const std::string record = migrationFolder + kRecordName;
  const platform::PathKind kind = platform::QueryPath(record);
  if (kind == platform::PathKind::kUnknown) {
    return KeptRunLookup::kUnreadable;
  }
  if (kind == platform::PathKind::kMissing) {
    return KeptRunLookup::kNone;
  }
  const std::size_t size = 4096;
  run->started = platform::ReadProfileString(kSection, "Started", "", record, size);
  run->installationKey = platform::ReadProfileString(kSection, "InstallationKey", "", record, size);
  run->majorVersion = platform::ReadProfileString(kSection, "MajorVersion", "", record, size);
  const std::string names =
      platform::ReadProfileString(kSection, "Configurations", "", record, size);
  run->configurations.clear();
  for (std::size_t start = 0; start < names.size();) {
    std::size_t end = names.find(kSeparator, start);
    if (end == std::string::npos) end = names.size();
    run->configurations.push_back(names.substr(start, end - start));
    start = end + 1;
  }
  return KeptRunLookup::kFound;
}

KeptRunLookup ReadRunWithoutRecord(const std::string& migrationFolder, UnfinishedRun* run) {
  std::vector<platform::DirectoryEntry> entries;
  run->configurations.clear();
  if (!platform::ListDirectory(migrationFolder + "\\*_amend.dat", &entries)) {
    return platform::LastErrorMeansMissing() ? KeptRunLookup::kNone : KeptRunLookup::kUnreadable;
  }
  for (const platform::DirectoryEntry& entry : entries) {
    TemporaryFileTarget target;
    if (!entry.IsDirectory() && TargetOfTemporaryName(entry.name, &target)) {
      run->configurations.push_back(target.configuration);
    }
  }
  return run->configurations.empty() ? KeptRunLookup::kNone : KeptRunLookup::kFound;
}

bool HoldsKeptParameters(const std::string& migrationFolder) {
  UnfinishedRun run;
  return ReadUnfinishedRun(migrationFolder, &run) != KeptRunLookup::kNone ||
         ReadRunWithoutRecord(migrationFolder, &run) != KeptRunLookup::kNone;
}

bool ResumeUnfinishedRun(IMessageSink& sink, MigrationContext* context,
                         std::vector<std::string>* carriedWithoutRecord) {
  UnfinishedRun run;
  const KeptRunLookup record = ReadUnfinishedRun(context->migrationFolder, &run);
  if (record == KeptRunLookup::kUnreadable) {
    NoteUnreadable(context, context->migrationFolder + kRecordName);
    return false;
  }
  const bool recorded = record == KeptRunLookup::kFound;
  if (!recorded) {
    const KeptRunLookup files = ReadRunWithoutRecord(context->migrationFolder, &run);
    if (files == KeptRunLookup::kUnreadable) {
      NoteUnreadable(context, context->migrationFolder);
      return false;
    }
    if (files == KeptRunLookup::kNone) {
      return false;
    }
    // Neither its time nor its version is known. The installed version is the best guess (the
    // run that left them read them from it, unless it was cut off after its clearing), and the
    // log says so; an empty key would have the transfer refuse them always.
    run.started = "an earlier Setup";
    run.installationKey = context->savedInstallationKey;
    run.majorVersion = context->savedMajorVersion;
  }
  std::string configurations;
  for (const std::string& name : run.configurations) {
    configurations += platform::SystemTextToUtf8(name) + "\n";
  }
  const std::string question = FormatText(
      sink.Localise(kUnfinishedRunQuestion),
      recorded ? run.started.c_str() : sink.Localise(kEarlierRunStart), configurations.c_str());
  if (sink.ShowMessage(question, kMbYesNo | kMbIconExclamation) == kIdYes) {
    context->parametersAccepted = true;
    context->savedInstallationKey = run.installationKey;
    context->savedMajorVersion = run.majorVersion;
    for (const std::string& name : run.configurations) {
      FindOrAddRecord(&context->configurations, name);
    }
    MarkAwaitingTransfer(&context->configurations);
    sink.WriteLogFormatted("|E|Carrying the parameters kept in %s by the run of %s\n",
                           context->migrationFolder.c_str(), run.started.c_str());
    if (!recorded) {
      *carriedWithoutRecord = run.configurations;
      sink.WriteLogFormatted("|E|Their version is not known; they are taken for %s %s\n",
                             run.installationKey.c_str(), run.majorVersion.c_str());
    }
    return true;
  }
  const std::string aside = context->migrationFolder +
                            FormatTime(platform::ReadLocalTime(), " %04u-%02u-%02u %02u%02u%02u");
  if (platform::MoveToNewName(context->migrationFolder, aside)) {
    sink.WriteLogFormatted(
        "|E|The parameters kept by the run of %s were not carried; moved to %s\n",
        run.started.c_str(), aside.c_str());
  } else {
    sink.WriteLogFormatted(
        "|E|The parameters kept by the run of %s could not be moved aside from %s\n",
        run.started.c_str(), context->migrationFolder.c_str());
  }
  return false;
}
