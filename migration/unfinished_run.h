// The record of an update whose parameters are in the migration folder but have not all reached
// the new installation yet. A run that finds one never deletes those parameters: it carries them,
// or moves the folder aside.
#pragma once

#include <string>
#include <vector>

#include "base/message_sink.h"
#include "migration/migration_context.h"

struct UnfinishedRun {
  std::string started;  // local time of that run, "2024-06-03 14:05:09"
  std::string installationKey;
  std::string majorVersion;
  std::vector<std::string> configurations;  // as the question listed them
};

// Writes the record into the migration folder (to a temporary name, flushed, then renamed), once
// every temporary parameter file is there. False when it cannot be written.
bool WriteUnfinishedRun(IMessageSink& sink, const MigrationContext& context,
                        const std::vector<std::string>& configurations);

// What a look into the migration folder found of an earlier run.
enum class KeptRunLookup {
  kNone,
  kFound,
  kUnreadable,  // the disk could not tell (LastErrorCode says why): it may hold kept parameters
};

// The record in `migrationFolder`.
KeptRunLookup ReadUnfinishedRun(const std::string& migrationFolder, UnfinishedRun* run);

// The record in `migrationFolder` when it is there but cannot be read (its run's parameters would
// be offered under no version); "" otherwise, also when the disk cannot tell whether it is there:
// ReadUnfinishedRun reports that, with the reason.
std::string FindUnreadableUnfinishedRun(const std::string& migrationFolder);

// The configurations whose temporary parameter files are in `migrationFolder` though it holds no
// record (left by a Setup that wrote none, or a record that could not be written).
KeptRunLookup ReadRunWithoutRecord(const std::string& migrationFolder, UnfinishedRun* run);

// Whether the folder holds parameters of an earlier run, recorded or not, or may hold some: it
// must not be deleted.
bool HoldsKeptParameters(const std::string& migrationFolder);

// Removes the record, before the folder itself goes.
void RemoveUnfinishedRun(const std::string& migrationFolder);

// Asks whether to carry the parameters of the unfinished run found in the migration folder.
// Yes: the context takes that run's accepted flag and version key, and true is returned. No:
// the folder is moved aside (beside it, named after the present time) with a log line, and false.
// A folder of temporary parameter files without a record is offered the same way, under an
// earlier run of unknown time; on Yes its configurations go to `carriedWithoutRecord`. False
// without asking when there is neither, or when the disk cannot tell (noted in the context).
bool ResumeUnfinishedRun(IMessageSink& sink, MigrationContext* context,
                         std::vector<std::string>* carriedWithoutRecord);
