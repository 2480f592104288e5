// Starting the payload carried in the installation package, and waiting for it to end.
#pragma once

#include <memory>
#include <string>

#include "platform/payload_file.h"
#include "platform/process.h"

class IStepTimer;
struct SetupRun;

enum class LaunchOutcome {
  Started,
  PackageUnreadable,
  SignatureMismatch,
  TempFileFailed,
  StartFailed,
  Prepared  // PreparePayload only: the payload file is written and sealed
};

// What the sequencer keeps while the payload runs.
struct PayloadLaunch {
  platform::ProcessHandles handles;
  std::string payloadFile;  // full path of the temporary payload file
  // Written and sealed by PreparePayload, waiting to be started.
  std::shared_ptr<platform::PayloadFile> prepared;
};

// The first half of LaunchPayload: checks the package and copies its payload into a new sealed
// temporary file kept in `launch`. Prepared, PackageUnreadable, SignatureMismatch (with
// `signature`) or TempFileFailed.
LaunchOutcome PreparePayload(const SetupRun& run, PayloadLaunch* launch, std::string* signature);
// The second half: starts the prepared payload with the step timer stopped around the start.
// Started (the handles and the file's path stored) or StartFailed (the file stays).
LaunchOutcome StartPreparedPayload(IStepTimer& timer, PayloadLaunch* launch);

// Checks the package (GetPackageFile of `run`), copies its payload into a new temporary file with
// the prefix "sep" and starts it, with the step timer stopped around the start. Fills `launch` when
// Started and `signature` (the signature text of the stored digest) with SignatureMismatch. After
// TempFileFailed or StartFailed the temporary file, if one was made, stays where it is.
LaunchOutcome LaunchPayload(IStepTimer& timer, const SetupRun& run, PayloadLaunch* launch,
                            std::string* signature);

// Waits at most `waitMilliseconds` for the payload. True when it has ended (or the wait failed):
// the handles are closed, the temporary file deleted and its name cleared (kept when the file
// would not go, for DiscardPayload).
bool PollPayload(PayloadLaunch* launch, unsigned waitMilliseconds);

// Deletes the payload file of a run that ends: one prepared but never started, or one that ran
// and would not go at once. The leftover of a failed start is not in `launch` and stays.
void DiscardPayload(PayloadLaunch* launch);
