// A machine ready for a whole update: version 5.3 installed with one configuration, and the
// payload script that installs version 5.4. POSIX only (the payload is a shell script).
#pragma once

#include <string>

class StagedMachine;

// Where the staged installation lives.
constexpr char kStagedMakerFolder[] = "C:\\Program Files\\Pelmo\\";
constexpr char kStagedInstallation[] = "C:\\Program Files\\Pelmo\\Control\\";

// The format description of 5.3: a controller block of four ints, the guards around speed and
// oldOnly. Version 5.4 has newOnly in place of oldOnly.
extern const char kStagedOldFormat[];

// A controller block of the 5.3 format, configuration A's by default: speed 1200, oldOnly 7.
std::string StagedControllerBlock(int speed = 1200);

// Stages 5.3 with `parameterFile` as config\A\vexorand.dat, a fixed drive D for the backups
// (BACKUPPATH D:\Backup\), shortcuts, the temporary and Windows folders.
void StageOldInstallation(const StagedMachine& machine, const std::string& parameterFile);

// A shell script that installs 5.4 below $SETUP_ROOT as an installer would: setup.cfg, the new
// format, config.ini, an amendment file with another section, a factory vexorand.dat, Lang.ini,
// a driver file and an information file. While the file "hold" is in $SETUP_ROOT it waits.
extern const char kStagedPayloadScript[];
