#include "platform/posix/fault_injection.h"

#ifdef SETUP_FAULT_INJECTION

#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {
namespace {

struct FaultPlan {
  unsigned long at = 0;  // 0: never
  int error = EIO;
  bool kill = false;
  unsigned long counted = 0;
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
    std::fprintf(file, "%lu\n", Plan().counted);
    std::fclose(file);
  }
}

// "fail:N:ERRNO", "kill:N", or "count:FILE" (the number of calls is written there at exit);
// anything else plans nothing.
void ReadPlanFromEnvironment(FaultPlan* plan) {
  plan->environmentRead = true;
  const char* text = std::getenv(kFaultPlanVariable);
  if (text == nullptr) return;
  const std::string value = text;
  char* end = nullptr;
  if (value.rfind("count:", 0) == 0) {
    CountFile() = value.substr(6);
    std::atexit(WriteCount);
  } else if (value.rfind("kill:", 0) == 0) {
    plan->at = std::strtoul(value.c_str() + 5, &end, 10);
    plan->kill = true;
  } else if (value.rfind("fail:", 0) == 0) {
    plan->at = std::strtoul(value.c_str() + 5, &end, 10);
    if (end != nullptr && *end == ':') plan->error = std::atoi(end + 1);
  }
}

}  // namespace

bool InjectFault(FileOperation) {
  if (uncountedScopes > 0) return false;
  FaultPlan& plan = Plan();
  if (!plan.environmentRead) ReadPlanFromEnvironment(&plan);
  ++plan.counted;
  if (plan.at == 0 || plan.counted != plan.at) return false;
  plan.injected = true;
  if (plan.kill) {
    // As abrupt as a power cut: nothing is flushed, nobody in the group gets to clean up.
    kill(0, SIGKILL);
  }
  errno = plan.error;
  return true;
}

void ArmFault(unsigned long count, int error) {
  FaultPlan& plan = Plan();
  plan = FaultPlan();
  plan.environmentRead = true;
  plan.at = count;
  plan.error = error;
}

void ArmKill(unsigned long count) {
  ArmFault(count, EIO);
  Plan().kill = true;
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
