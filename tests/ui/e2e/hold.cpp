// Stands in for what keeps an update waiting or in its way, in the end-to-end check, while the
// flag file given as the first argument exists:
//   hold FLAGFILE mutex       the running control program: holds its named mutex
//   hold FLAGFILE file FILE   a helper of it that keeps a file of the installation open: holds
//                             FILE open for reading, sharing reading but not deletion, so the
//                             backup can copy it and the clearing cannot delete it
// Writes the flag's name + ".held" once it holds what it was asked to.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/update_sequencer.h"

int main(int argc, char** argv) {
  const std::string what = argc > 2 ? argv[2] : "";
  if (!((argc == 3 && what == "mutex") || (argc == 4 && what == "file"))) {
    std::fprintf(stderr, "usage: hold FLAGFILE mutex | hold FLAGFILE file FILE\n");
    return 2;
  }
  const std::string flag = argv[1];
  HANDLE handle = what == "mutex" ? CreateMutexA(nullptr, TRUE, kControlProgramMutexName)
                                  : CreateFileA(argv[3], GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "hold: cannot take the %s (%lu)\n", what.c_str(), GetLastError());
    return 1;
  }
  HANDLE held = CreateFileA((flag + ".held").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  CloseHandle(held);
  // Bounded, so a forgotten holder cannot outlive the check by much.
  for (int waited = 0;
       waited < 300000 && GetFileAttributesA(flag.c_str()) != INVALID_FILE_ATTRIBUTES;
       waited += 50) {
    Sleep(50);
  }
  CloseHandle(handle);
  return 0;
}
