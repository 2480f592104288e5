// Chosen failures of this layer's file operations, for tests that must see what an update does on
// a bad disk or when the power goes. Only builds with SETUP_FAULT_INJECTION have them; elsewhere
// the check is an inline false that the compiler removes.
//
// Every open, read, write, rename and fsync of the layer asks InjectFault first. A plan counts
// those calls and acts on the N-th: it fails with a chosen errno, or kills the whole process group
// as a power cut would (the payload included). A plan comes from ArmFault/ArmKill in the test
// process, or from the environment variable SETUP_FAULT_PLAN of a program the test starts:
// "fail:N:ERRNO", "kill:N" or "count:FILE".
#pragma once

namespace platform {

enum class FileOperation { kOpen, kRead, kWrite, kRename, kFsync };

#ifdef SETUP_FAULT_INJECTION

constexpr const char* kFaultPlanVariable = "SETUP_FAULT_PLAN";

// Counts the call; true when it must fail, with errno set to the planned error.
bool InjectFault(FileOperation operation);

// The `count`-th counted call from now (1 the next one) fails with `error`.
void ArmFault(unsigned long count, int error);
// The `count`-th counted call from now kills the process group.
void ArmKill(unsigned long count);
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

// Nothing to leave uncounted; the constructor keeps a scope object from counting as unused.
class UncountedFileOperations {
 public:
  UncountedFileOperations() {}
};

#endif

}  // namespace platform
