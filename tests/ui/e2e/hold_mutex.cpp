// Stands in for the running control program in the end-to-end check: holds its named mutex while
// the flag file given as the argument exists. Writes the flag's name + ".held" once it holds it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/update_sequencer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: hold_mutex FLAGFILE\n");
    return 2;
  }
  const std::string flag = argv[1];
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kControlProgramMutexName);
  if (mutex == nullptr) {
    std::fprintf(stderr, "hold_mutex: cannot create the mutex (%lu)\n", GetLastError());
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
  CloseHandle(mutex);
  return 0;
}
