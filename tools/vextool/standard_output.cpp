#include "tools/vextool/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool StandardOutputArrived() {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  const int error = errno;
  std::clearerr(stdout);
  std::fprintf(stderr, "vextool: cannot write standard output: %s\n",
               error != 0 ? std::strerror(error) : "the write failed");
  return false;
}

bool WriteStandardOutput(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  return StandardOutputArrived();
}
