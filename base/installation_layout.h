// Where an installation of the control program lies: the folders and files the update's steps
// read and write, composed once from setup.cfg (or given, for an installation found elsewhere).
#pragma once

#include <string>

struct InstallationLayout {
  // The short form of the program-files folder + "\Pelmo\"; it holds setup.cfg.
  std::string makerFolder;
  // PATH and BACKUPPATH of setup.cfg as written (PATH with its trailing backslash).
  std::string pathValue;
  std::string backupPathValue;
  // Maker folder + PATH, and in it the configuration tree (no trailing backslash), the format
  // description and the settings file, whose ActiveConfig names the generated-files folder.
  std::string installationFolder;
  std::string configurationTree;
  std::string formatFile;
  std::string settingsFile;
};

// The layout of the installation folder `installation` (ending in a backslash), with no maker
// folder around it.
InstallationLayout LayoutOfInstallationFolder(const std::string& installation);
