#include "platform/posix/fault_injection.h"

#ifdef SETUP_FAULT_INJECTION

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/ascii_characters.h"
#include "platform/posix/power_loss.h"

namespace platform {
namespace {

struct FaultPlan {
  unsigned long at = 0;  // 0: never
  int error = EIO;
  bool kill = false;
  bool cut = false;
  bool filtered = false;
  FileOperation only = FileOperation::kOpen;
  std::string name;  // with ArmFaultOnName: the entry whose calls of `only` fail
  unsigned long counted = 0;
  unsigned long changes = 0;  // counted calls that change the disk
  bool injected = false;
  bool environmentRead = false;
};

FaultPlan& Plan() {
  static FaultPlan plan;
  return plan;
}

// UncountedFileOperations alive on this thread.
thread_local int uncountedScopes = 0;

std::string& CountFile() {
  static std::string path;
  return path;
}

void WriteCount() {
  if (FILE* file = std::fopen(CountFile().c_str(), "w")) {
    std::fprintf(file, "%lu %lu\n", Plan().counted, Plan().changes);
    std::fclose(file);
  }
}

// "fail:N:ERRNO", "kill:N", "cut:N" (N counts only the calls that change the disk: a cut before a
// read or a query finds the disk as one before the next change does), or "count:FILE" (the
// number of calls, then of those that change the disk, written there at exit); anything else
// plans nothing.
void ReadPlanFromEnvironment(FaultPlan* plan) {
  plan->environmentRead = true;
  const char* text = std::getenv(kFaultPlanVariable);
  if (text == nullptr) return;
  const std::string value = text;
  char* end = nullptr;
  if (value.rfind("count:", 0) == 0) {
    CountFile() = value.substr(6);
    std::atexit(WriteCount);
  } else if (value.rfind("kill:", 0) == 0 || value.rfind("cut:", 0) == 0) {
    plan->cut = value[0] == 'c';
    plan->at = std::strtoul(value.c_str() + (plan->cut ? 4 : 5), &end, 10);
    plan->kill = true;
  } else if (value.rfind("fail:", 0) == 0) {
    plan->at = std::strtoul(value.c_str() + 5, &end, 10);
    if (end != nullptr && *end == ':') plan->error = std::atoi(end + 1);
  }
}

bool ChangesTheDisk(FileOperation operation) {
  switch (operation) {
    case FileOperation::kRead:
    case FileOperation::kList:
    case FileOperation::kQuery:
      return false;
    default:
      return true;
  }
}

std::string LastComponent(const std::string& target) {
  std::string path = target;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool InjectFault(FileOperation operation, const std::string& target) {
  FaultPlan& plan = Plan();
  if (plan.name.empty()) return InjectFault(operation);
  if (uncountedScopes > 0 || operation != plan.only ||
      !EqualIgnoringAsciiCase(LastComponent(target), plan.name)) {
    return false;
  }
  plan.injected = true;
  errno = plan.error;
  return true;
}

bool InjectFault(FileOperation operation) {
  if (uncountedScopes > 0) return false;
  FaultPlan& plan = Plan();
  if (!plan.environmentRead) ReadPlanFromEnvironment(&plan);
  if (plan.filtered && operation != plan.only) return false;
  const bool change = ChangesTheDisk(operation);
  if (plan.cut && !change) return false;
  if (!plan.name.empty()) return false;
  ++plan.counted;
  if (change) ++plan.changes;
  if (plan.at == 0 || plan.counted != plan.at) return false;
  plan.injected = true;
  if (plan.kill) CutPower();
  errno = plan.error;
  return true;
}

void CutPower() {
  // What the disk never got goes with the power.
  if (PowerLossModelled()) LoseUnflushedChanges();
  // Nothing is flushed, nobody in the group gets to clean up.
  kill(0, SIGKILL);
  _exit(137);
}

void ArmFault(unsigned long count, int error) {
  FaultPlan& plan = Plan();
  plan = FaultPlan();
  plan.environmentRead = true;
  plan.at = count;
  plan.error = error;
}

void ArmFault(unsigned long count, int error, FileOperation only) {
  ArmFault(count, error);
  Plan().filtered = true;
  Plan().only = only;
}

void ArmFaultOnName(const std::string& name, int error, FileOperation operation) {
  ArmFault(0, error, operation);
  Plan().name = name;
}

void ArmKill(unsigned long count) {
  ArmFault(count, EIO);
  Plan().kill = true;
}

void ModelPowerLoss() {
  ArmFault(0, EIO);
  Plan().cut = true;
}

bool PowerLossModelled() {
  FaultPlan& plan = Plan();
  if (!plan.environmentRead) ReadPlanFromEnvironment(&plan);
  return plan.cut;
}

void DisarmFaults() {
  ArmFault(0, EIO);
}

unsigned long CountedFileOperations() {
  return Plan().counted;
}

bool FaultInjected() {
  return Plan().injected;
}

UncountedFileOperations::UncountedFileOperations() {
  ++uncountedScopes;
}

UncountedFileOperations::~UncountedFileOperations() {
  --uncountedScopes;
}

}  // namespace platform

#endif
