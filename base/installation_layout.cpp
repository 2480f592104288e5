#include "base/installation_layout.h"

InstallationLayout LayoutOfInstallationFolder(const std::string& installation) {
  InstallationLayout layout;
  layout.installationFolder = installation;
  layout.configurationTree = installation + "config";
  layout.formatFile = installation + "vexorand.fmt";
  layout.settingsFile = installation + "config\\config.ini";
  return layout;
}
