// Chosen failures of this layer's file operations, for tests that must see what an update does on
// a bad disk or when the power goes. Only builds with SETUP_FAULT_INJECTION have them; elsewhere
// the check is an inline false that the compiler removes.
//
// Every call of the layer that touches the disk asks InjectFault first: open, read, write, copy,
// rename, fsync (of files and folders), listing, stat and lstat, and the making and removing of
// files and folders. A plan counts those calls and acts on the N-th: it fails with a chosen errno,
// kills the whole process group (the payload included), or cuts the power: what was not flushed
// is lost (power_loss.h), then the group is killed. A plan comes from ArmFault/ArmKill in the
// test process, or from the environment variable SETUP_FAULT_PLAN of a program the test starts:
// "fail:N:ERRNO", "kill:N", "cut:N" or "count:FILE".
#pragma once

#include <string>

namespace platform {

enum class FileOperation {
  kOpen,
  kRead,
  kWrite,
  kCopy,
  kRename,
  kFsync,
  kList,
  kQuery,
  kMake,
  kRemove
};

#ifdef SETUP_FAULT_INJECTION

constexpr const char* kFaultPlanVariable = "SETUP_FAULT_PLAN";

// Counts the call; true when it must fail, with errno set to the planned error.
bool InjectFault(FileOperation operation);
// The same for a call on one entry: `target` is its host path or its name.
bool InjectFault(FileOperation operation, const std::string& target);

// The `count`-th counted call from now (1 the next one) fails with `error`; 0 fails none. With
// `only`, calls of that operation alone are counted.
void ArmFault(unsigned long count, int error);
void ArmFault(unsigned long count, int error, FileOperation only);
// From now every call of `operation` on an entry named `name` (letter case aside) fails with
// `error`, as a spot of the disk that cannot be read would; no call is counted.
void ArmFaultOnName(const std::string& name, int error, FileOperation operation);
// The `count`-th counted call from now kills the process group.
void ArmKill(unsigned long count);
// From now the power-loss model keeps its journal, for a test that then calls
// LoseUnflushedChanges itself; no call is counted or fails.
void ModelPowerLoss();
// Whether the power-loss model keeps its journal (a plan "cut:N" is armed, or ModelPowerLoss).
bool PowerLossModelled();
// Kills the process group as a power cut would; what was not flushed is lost first when the
// power-loss model runs.
[[noreturn]] void CutPower();
// No more faults; the counter starts again from zero.
void DisarmFaults();
// Calls counted since the plan was armed (or disarmed).
unsigned long CountedFileOperations();
// Whether the armed fault has been injected.
bool FaultInjected();

// While one lives, the calls of its thread are neither counted nor failed. For operations whose
// number depends on the clock, so that "the N-th call" means the same in every run.
class UncountedFileOperations {
 public:
  UncountedFileOperations();
  ~UncountedFileOperations();
  UncountedFileOperations(const UncountedFileOperations&) = delete;
  UncountedFileOperations& operator=(const UncountedFileOperations&) = delete;
};

#else

inline bool InjectFault(FileOperation) {
  return false;
}
inline bool InjectFault(FileOperation, const std::string&) {
  return false;
}

// Nothing to leave uncounted; the constructor keeps a scope object from counting as unused.
class UncountedFileOperations {
 public:
  UncountedFileOperations() {}
};

#endif

}  // namespace platform
