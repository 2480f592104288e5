// Temporary: the step operations whose headers have not landed yet.
#pragma once

#include <cstdint>
#include <string>

#include "app/step_host.h"
#include "migration/migration_context.h"

void BackUpInstallation(IStepHost& host, int* generatedFilesWarnings);
void ClearInstallation(int* generatedFilesWarnings);
void KeepPackage();
void ShutDownSystem(std::uint32_t flags);
void InstallDrivers(const std::string& sourceFolder);
bool GenerateParameterFiles(MigrationContext* context);
bool TransferParameterFiles(MigrationContext* context);
bool SeparateGeneratedFiles();
