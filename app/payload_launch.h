// Starting the payload carried in the installation package, and waiting for it to end.
#pragma once

#include <string>

#include "platform/process.h"

class IStepTimer;

enum class LaunchOutcome {
  Started,
  PackageUnreadable,
  SignatureMismatch,
  TempFileFailed,
  StartFailed
};

// What the sequencer keeps while the payload runs.
struct PayloadLaunch {
  platform::ProcessHandles handles;
  std::string payloadFile;  // full path of the temporary payload file
};

// Checks the package (GetPackageFile), copies its payload into a new temporary file with the
// prefix "sep" and starts it, with the step timer stopped around the start. Fills `launch` when
// Started and `signature` (the signature text of the stored digest) with SignatureMismatch. After
// TempFileFailed or StartFailed the temporary file, if one was made, stays where it is.
LaunchOutcome LaunchPayload(IStepTimer& timer, PayloadLaunch* launch, std::string* signature);

// Waits at most `waitMilliseconds` for the payload. True when it has ended (or the wait failed):
// the handles are closed, the temporary file deleted and its name cleared.
bool PollPayload(PayloadLaunch* launch, unsigned waitMilliseconds);
