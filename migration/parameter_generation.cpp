#include <optional>
#include <string>
#include <vector>

#include "base/folder_tree.h"
#include "base/message_styles.h"
#include "base/messages.h"
#include "base/multibyte_case.h"
#include "base/path_compose.h"
#include "base/setup_run.h"
#include "format/node_paths.h"
#include "migration/amendment_file.h"
#include "migration/controller_dump.h"
#include "migration/file_walks.h"
#include "migration/generated_files.h"
#include "migration/parameter_migration.h"
#include "migration/setup_config.h"
#include "migration/temporary_parameter_files.h"
#include "migration/unfinished_run.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/path_split.h"
#include "platform/text_encoding.h"

namespace {

void GenerateTemporaryParameterFile(IMessageSink& sink, const InstallationLayout& old,
                                    MigrationContext* context, const std::string& parameterFile) {
  const std::string& migrationFolder = context->migrationFolder;
  bool damaged = false;
  bool unreadable = false;
  const std::string configuration = ConfigurationName(parameterFile);
  ConfigurationRecord& record = FindOrAddRecord(&context->configurations, configuration);
  CControllerDump dump(sink);
  if (!dump.Read(parameterFile, &damaged, &unreadable)) {
    if (unreadable) {
      sink.WriteLogFormatted("|E|Parameters of configuration '%s' cannot be read from '%s'\n",
                             configuration.c_str(), parameterFile.c_str());
      context->unsavedConfigurations.push_back(configuration);
      MarkNotCarried(&record, "its parameter file cannot be read");
    } else {
      // The line above names only the section; this one says whose parameters are lost.
      sink.WriteLogFormatted(
          "|E|Parameters of configuration '%s' not carried: '%s' and its .bak are both damaged\n",
          configuration.c_str(), parameterFile.c_str());
      MarkNotCarried(&record, "its parameter file and its .bak are both damaged");
    }
    return;
  }
  if (damaged) {
    sink.WriteLogFormatted("|E|Parameters of configuration '%s' read from the damaged file '%s'\n",
                           configuration.c_str(), parameterFile.c_str());
    record.fromDamagedFile = true;
  }
  const std::optional<std::string> temporaryFile =
      ComposePath(sink, {migrationFolder, "\\", TemporaryNameOfParameterFile(parameterFile)});
  const std::optional<std::string> formatFile = ComposePath(sink, {old.formatFile});
  if (!temporaryFile || !formatFile) {
    return;
  }
  // Written under another name and put in place once on the disk: a power cut leaves the file
  // whole or absent, never half written.
  const std::string partial = *temporaryFile + ".tmp";
  platform::RemoveFile(partial);
  CFieldDescriptor& descriptor = dump.Descriptor();
  bool written = dump.WriteTemporaryFile(old, partial);
  // Bound but not written, or a format file the disk would not give up: the disk failed, not
  // the format.
  const bool diskFault = descriptor.BoundBlock() != nullptr || descriptor.Parser().WasUnreadable();
  // Left out of the temporary file, so the new version's value of the field stays.
  for (const CValueNode* node : descriptor.UncarriedNodes()) {
    const std::string field = FieldPath(*node);
    sink.WriteLogFormatted(
        "|E|Value of '%s' in configuration '%s' not carried: it holds ';' or a line "
        "break\n",
        field.c_str(), configuration.c_str());
    record.valuesLeftOut.push_back(field);
  }
  descriptor.Reset();
  if (written) {
    platform::File file;
    written = file.Open(partial, platform::File::Mode::kReadWrite) && file.Flush();
    file.Close();
    written = written && platform::ReplaceFileAtomically(partial, *temporaryFile);
  }
  if (!written) {
    platform::RemoveFile(partial);
    sink.ShowMessage(sink.Localise(kParameterDumpFailed), kMbOk | kMbIconExclamation);
    sink.WriteLogFormatted("|E|Parameters of configuration '%s' could not be written to '%s'\n",
                           configuration.c_str(), temporaryFile->c_str());
    MarkNotCarried(&record, "its parameters could not be written to the migration folder");
    if (diskFault) {
      sink.WriteLogFormatted("|E|Parameters of configuration '%s' cannot be saved to '%s'\n",
                             configuration.c_str(), temporaryFile->c_str());
      context->unsavedConfigurations.push_back(configuration);
    }
  }
}

// Configurations whose binary parameter file is gone while their amendment file still holds the
// carried parameters, waiting for the control program: an earlier update transferred them and
// was cut off or run again. Their [CController] entries are what there is to keep.
std::vector<std::string> WaitingAmendmentFiles(IMessageSink& sink, MigrationContext* context,
                                               const InstallationLayout& layout,
                                               const std::vector<std::string>& binaryFiles) {
  std::vector<std::string> waiting;
  for (const std::string& path :
       FindFilesRecursively(sink, layout.configurationTree, kAmendmentName, context)) {
    const std::string name = ToLowerMultiByte(ConfigurationName(path));
    bool hasBinary = false;
    for (const std::string& binary : binaryFiles) {
      hasBinary = hasBinary || ToLowerMultiByte(ConfigurationName(binary)) == name;
    }
    if (hasBinary) {
      continue;
    }
    ParameterList controller;
    ParameterList others;
    // Unread, it would pass for one without parameters, and the clearing would take them.
    if (!ReadAmendmentFile(path, &controller, &others)) {
      NoteUnreadable(context, path);
    }
    if (controller.size() > 1) {
      waiting.push_back(path);
    }
  }
  return waiting;
}

void KeepWaitingAmendment(IMessageSink& sink, MigrationContext* context,
                          const std::string& amendmentFile) {
  ParameterList controller;
  ParameterList others;
  const std::string configuration = ConfigurationName(amendmentFile);
  const std::optional<std::string> temporaryFile = ComposePath(
      sink, {context->migrationFolder, "\\", TemporaryNameOfConfiguration(configuration)});
  if (!ReadAmendmentFile(amendmentFile, &controller, &others) || !temporaryFile ||
      !WriteAmendmentFile(sink, *temporaryFile, controller, ParameterList())) {
    sink.ShowMessage(sink.Localise(kParameterDumpFailed), kMbOk | kMbIconExclamation);
    // The amendment file goes with the clearing: it must not go before its copy is made.
    context->unsavedConfigurations.push_back(configuration);
  }
}

// Last, so that a record always means every temporary file is in place; without one, the next
// run reads the installed files again.
void RecordRun(IMessageSink& sink, MigrationContext* context,
               const std::vector<std::string>& names) {
  // A folder without its record is offered by the next run under no time or version: nothing
  // may be cleared.
  if (context->unsavedConfigurations.empty() && !WriteUnfinishedRun(sink, *context, names)) {
    context->unsavedConfigurations = names;
  }
}

// The folder's entry must be on the disk before anything is written into it: lost in a power
// cut, it takes every temporary file and the run record along. A folder kept from an earlier run
// may never have been flushed, so its parent is flushed again.
bool MakeMigrationFolderDurably(const std::string& folder, MigrationContext* context) {
  if (platform::MakeDirectoryDurably(folder)) {
    return true;
  }
  const std::size_t separator = platform::FindLastSeparator(folder);
  const std::string parent = folder.substr(0, separator == std::string::npos ? 0 : separator + 1);
  if (platform::QueryPath(folder) == platform::PathKind::kFolder && platform::FlushFolder(parent)) {
    return true;
  }
  // A folder that could not be made fails its first write, which keeps the configuration.
  if (platform::LastErrorMeansMissing()) {
    return true;
  }
  NoteUnreadable(context, parent);
  return false;
}

}  // namespace

bool GenerateParameterFiles(IMessageSink& sink, MigrationContext* context) {
  const InstallationLayout& layout = sink.Run().layout;
  const VersionKey key = ComputeVersionKey(sink, layout);
  context->savedInstallationKey = key.installationKey;
  context->savedMajorVersion = key.majorVersion;
  // The folder of an unfinished run may hold the only copy of its parameters.
  std::vector<std::string> carriedWithoutRecord;
  if (ResumeUnfinishedRun(sink, context, &carriedWithoutRecord) && carriedWithoutRecord.empty()) {
    return true;
  }
  if (!context->unreadablePath.empty()) {
    return false;
  }
  // Not moved aside: what it holds stays.
  if (!HoldsKeptParameters(context->migrationFolder)) {
    DeleteTree(sink, context->migrationFolder);
  }
  if (!MakeMigrationFolderDurably(context->migrationFolder, context)) {
    return false;
  }

  std::string searchRoot = layout.configurationTree;
  std::string generatedFiles;
  const GeneratedFilesLookup lookup = LookUpGeneratedFiles(sink, &generatedFiles);
  if (lookup == GeneratedFilesLookup::kUnreadable) {
    // The parameter files may be in the folder it would name.
    NoteUnreadable(context, generatedFiles);
    return false;
  }
  if (lookup == GeneratedFilesLookup::kFound && !generatedFiles.empty()) {
    searchRoot = generatedFiles.substr(0, generatedFiles.size() - 1);  // its trailing backslash
  }
  const std::vector<std::string> found =
      FindFilesRecursively(sink, searchRoot, kParameterFileName, context);
  const std::vector<std::string> waiting = WaitingAmendmentFiles(sink, context, layout, found);
  if (!context->unreadablePath.empty()) {
    return false;
  }
  if (found.empty() && waiting.empty()) {
    // Kept files taken over are this run's now: without a record the next run would ask again.
    if (!carriedWithoutRecord.empty()) RecordRun(sink, context, carriedWithoutRecord);
    return context->parametersAccepted;
  }
  std::vector<std::string> names;
  std::string configurations;
  for (const std::vector<std::string>* list : {&found, &waiting}) {
    for (const std::string& path : *list) {
      names.push_back(ConfigurationName(path));
      configurations += platform::SystemTextToUtf8(names.back()) + "\n";
    }
  }
  const std::string question = std::string(sink.Localise(kKeepParametersListHeader)) +
                               configurations + sink.Localise(kKeepParametersQuestion);
  for (const std::string& name : names) {
    FindOrAddRecord(&context->configurations, name);
  }
  // Files without a record may be only some of a run cut off here: the installed files are read
  // again over them, under the answer already given.
  if (!context->parametersAccepted &&
      sink.ShowMessage(question, kMbYesNo | kMbIconExclamation) != kIdYes) {
    return false;
  }
  for (const std::string& name : carriedWithoutRecord) {
    bool listed = false;
    for (const std::string& other : names) {
      listed = listed || ToLowerMultiByte(other) == name;
    }
    if (!listed) names.push_back(name);
  }
  context->parametersAccepted = true;
  MarkAwaitingTransfer(&context->configurations);
  for (const std::string& path : waiting) {
    KeepWaitingAmendment(sink, context, path);
  }
  for (const std::string& path : found) {
    GenerateTemporaryParameterFile(sink, layout, context, path);
  }
  RecordRun(sink, context, names);
  return true;
}
