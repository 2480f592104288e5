#include "app/payload_launch.h"

#include "app/md5.h"
#include "app/package_check.h"
#include "app/package_file.h"
#include "app/package_read.h"
#include "app/step_timer.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/payload_file.h"
#include "platform/special_folders.h"

namespace {

constexpr const char* kPayloadFilePrefix = "sep";

enum class CopyResult { Copied, PackageUnreadable, TempFileFailed };

// Copies the payload into `payloadFile` and reads it back once it is sealed, so what will be
// started is known to be exactly what the checked package holds.
CopyResult CopyPayload(platform::File& package, const PayloadRange& payload,
                       platform::PayloadFile& payloadFile) {
  if (!package.Seek(payload.offset)) {
    return CopyResult::PackageUnreadable;
  }
  Md5 written;
  bool writeFailed = false;
  const bool copied = ReadInPieces(
      [&package](void* buffer, std::size_t size) { return package.Read(buffer, size); },
      payload.length,
      [&](const std::uint8_t* piece, std::size_t size) {
        written.Update(piece, size);
        writeFailed = !payloadFile.Write(piece, size);
        return !writeFailed;
      });
  if (!copied) {
    return writeFailed ? CopyResult::TempFileFailed : CopyResult::PackageUnreadable;
  }
  if (!payloadFile.Seal()) {
    return CopyResult::TempFileFailed;
  }
  Md5 sealed;
  const bool readBack = ReadInPieces(
      [&payloadFile](void* buffer, std::size_t size) { return payloadFile.Read(buffer, size); },
      payload.length,
      [&sealed](const std::uint8_t* piece, std::size_t size) {
        sealed.Update(piece, size);
        return true;
      });
  // Anything past the payload would have been appended by someone else.
  std::uint8_t extra;
  if (!readBack || payloadFile.Read(&extra, 1) != 0 || sealed.Finish() != written.Finish()) {
    return CopyResult::TempFileFailed;
  }
  return CopyResult::Copied;
}

}  // namespace

LaunchOutcome PreparePayload(const SetupRun& run, PayloadLaunch* launch, std::string* signature) {
  platform::File package;
  if (!package.Open(GetPackageFile(run), platform::File::Mode::kReadShared)) {
    return LaunchOutcome::PackageUnreadable;
  }
  const PackageCheck check = CheckOpenPackage(package);
  switch (check.status) {
    case PackageStatus::Intact:
      break;
    case PackageStatus::PackageUnreadable:
      return LaunchOutcome::PackageUnreadable;
    case PackageStatus::SignatureMismatch:
      *signature = check.signature;
      return LaunchOutcome::SignatureMismatch;
  }

  auto payloadFile = std::make_shared<platform::PayloadFile>();
  if (!payloadFile->Create(platform::GetTempFolder(), kPayloadFilePrefix)) {
    return LaunchOutcome::TempFileFailed;
  }
  switch (CopyPayload(package, check.payload, *payloadFile)) {
    case CopyResult::Copied:
      break;
    case CopyResult::PackageUnreadable:
      return LaunchOutcome::PackageUnreadable;
    case CopyResult::TempFileFailed:
      return LaunchOutcome::TempFileFailed;
  }
  launch->prepared = std::move(payloadFile);
  return LaunchOutcome::Prepared;
}

LaunchOutcome StartPreparedPayload(IStepTimer& timer, PayloadLaunch* launch) {
  if (!launch->prepared) {
    return LaunchOutcome::StartFailed;
  }
  timer.StopStepTimer();
  const bool started = launch->prepared->Start(&launch->handles);
  timer.StartStepTimer();
  const std::string path = launch->prepared->Path();
  launch->prepared.reset();
  if (!started) {
    return LaunchOutcome::StartFailed;
  }
  launch->payloadFile = path;
  return LaunchOutcome::Started;
}

LaunchOutcome LaunchPayload(IStepTimer& timer, const SetupRun& run, PayloadLaunch* launch,
                            std::string* signature) {
  const LaunchOutcome prepared = PreparePayload(run, launch, signature);
  return prepared == LaunchOutcome::Prepared ? StartPreparedPayload(timer, launch) : prepared;
}

bool PollPayload(PayloadLaunch* launch, unsigned waitMilliseconds) {
  if (platform::WaitForProcess(launch->handles, waitMilliseconds) ==
      platform::WaitResult::kTimedOut) {
    return false;
  }
  platform::CloseProcessHandles(&launch->handles);
  if (platform::RemoveFile(launch->payloadFile)) {
    launch->payloadFile.clear();
  }
  return true;
}

void DiscardPayload(PayloadLaunch* launch) {
  if (launch->prepared) {
    launch->prepared->Discard();
    launch->prepared.reset();
  }
  // A payload still running keeps its file.
  if (!launch->payloadFile.empty() && launch->handles.process == 0) {
    platform::RemoveFile(launch->payloadFile);
    launch->payloadFile.clear();
  }
}
