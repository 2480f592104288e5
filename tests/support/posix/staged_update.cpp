#include "tests/support/staged_update.h"

#include "tests/support/staged_machine.h"

const char kStagedOldFormat[] = R"(#pragma pack(4)
field CController {
  int m__df_beginCController;
  int speed;
  int oldOnly;
  int m__df_endCController;
};
)";

const char kStagedPayloadScript[] = R"(#!/bin/sh
set -e
while [ -e "$SETUP_ROOT/hold" ]; do sleep 0.02; done
maker="$SETUP_ROOT/c/Program Files/Pelmo"
control="$maker/Control"
mkdir -p "$control/config/A" "$control/Lang/chn" "$control/Lang/rus"
printf '[SETTINGS]\nPATH=Control\\\nBACKUPPATH=D:\\Backup\\\n' > "$maker/setup.cfg"
cat > "$control/vexorand.fmt" <<'FORMAT'
#pragma pack(4)
field CController {
  int m__df_beginCController;
  int speed;
  int newOnly;
  int m__df_endCController;
};
FORMAT
printf '[VERSION]\nVERSION=5.4.2\n' > "$control/config/config.ini"
printf '[CController]\nnewOnly = 3\n[Axes]\ncount = 3\n' > "$control/config/A/amend.dat"
printf 'factory defaults' > "$control/config/A/vexorand.dat"
printf '[ActiveLang]\nActiveLang=chn\n' > "$control/Lang/Lang.ini"
printf 'driver image' > "$control/vexio.sys"
printf '[Version]\nSignature="$Windows NT$"\n' > "$control/vexio.inf"
echo "installed 5.4.2"
)";

namespace {

std::string Int32(int value) {
  std::string bytes(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

}  // namespace

std::string StagedControllerBlock(int speed) {
  return Int32(0) + Int32(speed) + Int32(7) + Int32(0);
}

void StageOldInstallation(const StagedMachine& machine, const std::string& parameterFile) {
  machine.AddDrive('d');
  machine.WriteFile(std::string(kStagedMakerFolder) + "setup.cfg",
                    "[SETTINGS]\r\nPATH=Control\\\r\nBACKUPPATH=D:\\Backup\\\r\n");
  const std::string control = kStagedInstallation;
  machine.WriteFile(control + "vexorand.fmt", kStagedOldFormat);
  machine.WriteFile(control + "config\\config.ini", "[VERSION]\r\nVERSION=5.3.7\r\n");
  machine.WriteFile(control + "config\\A\\vexorand.dat", parameterFile);
  machine.WriteFile(control + "Lang\\Lang.ini", "[ActiveLang]\r\nActiveLang=chn\r\n");
  machine.WriteFile(control + "Lang\\chn\\Vexorand.string", "[Attribute]\r\nMaxIndex=0\r\n");
  machine.WriteFile(control + "only-in-5.3.txt", "old");
  machine.WriteFile("C:\\Users\\Operator\\Desktop\\Vexorand.lnk", "shortcut");
  machine.WriteFile("C:\\Users\\Operator\\Start Menu\\Programs\\Vexo rand.lnk", "shortcut");
  machine.MakeFolder("C:\\Temp");
  machine.MakeFolder("C:\\Windows\\System32\\drivers");
  machine.MakeFolder("C:\\Windows\\INF");
}
