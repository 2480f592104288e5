// Whole folder trees through the volume map beside the host's own tools, in the same run and on
// the same staged tree: the backup copy against `cp -a`, the clearing against `rm -rf`, the
// migration's recursive find and delete against `find`. Each figure is the median of several
// rounds; ratios are ours / the tool's. A timed run, not a Google Benchmark: the tools are
// separate processes and the tree must be staged afresh for every deletion.
//
//   tree_benchmark [--rounds N] [--dir HOSTDIR]
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/folder_tree.h"
#include "migration/file_walks.h"
#include "platform/posix/volume_map.h"
#include "platform/shell_copy.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kSmallFolders = 50;
constexpr int kFilesPerSmallFolder = 100;
constexpr int kLargeFolderFiles = 10000;
constexpr int kLargeFiles = 4;
constexpr std::size_t kLargeFileSize = 16 << 20;

void WriteHostFile(const std::string& path, std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + (seed + i * 7) % 26);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, size, file) != size) std::abort();
  std::fclose(file);
}

// A staged installation: configurations with parameter files, folders of small files, one
// folder of many files and a few large ones. Returns the number of files.
int StageTree(const std::string& top) {
  int files = 0;
  for (int f = 0; f < kSmallFolders; ++f) {
    const std::string folder =
        top + "/Config/Set" + std::to_string(f / 10) + "/Part" + std::to_string(f);
    fs::create_directories(folder);
    for (int i = 0; i < kFilesPerSmallFolder; ++i, ++files) {
      WriteHostFile(folder + "/Item" + std::to_string(i) + ".ini", 512 + (i * 97) % 4096, i);
    }
    WriteHostFile(folder + "/vexorand.dat", 8192, f);
    WriteHostFile(folder + "/vexorand.dat.bak", 8192, f);
    files += 2;
  }
  fs::create_directories(top + "/Cache");
  for (int i = 0; i < kLargeFolderFiles; ++i, ++files) {
    WriteHostFile(top + "/Cache/entry" + std::to_string(i) + ".bin", 300, i);
  }
  fs::create_directories(top + "/Bin");
  for (int i = 0; i < kLargeFiles; ++i, ++files) {
    WriteHostFile(top + "/Bin/module" + std::to_string(i) + ".dll", kLargeFileSize, i);
  }
  return files;
}

double Seconds(const std::function<void()>& work) {
  sync();
  const Clock::time_point start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "tree_benchmark: failed: %s\n", command.c_str());
    std::exit(1);
  }
}

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Pair {
  const char* what;
  std::vector<double> ours, theirs;
};

void CopyOrAbort(const std::string& pattern, const std::string& destination) {
  if (!platform::ShellCopy(pattern, destination)) {
    std::fprintf(stderr, "tree_benchmark: ShellCopy %s failed\n", pattern.c_str());
    std::exit(1);
  }
}

void DeleteOrAbort(const std::string& path) {
  if (!DeleteTree(path)) {
    std::fprintf(stderr, "tree_benchmark: DeleteTree %s failed\n", path.c_str());
    std::exit(1);
  }
}

// The per-file cost of copying and deleting one folder of `files` files, median of `rounds`.
void FolderCost(const std::string& root, int files, int rounds, double* copy, double* remove) {
  const std::string name = "Flat" + std::to_string(files);
  fs::create_directories(root + "/c/" + name);
  for (int i = 0; i < files; ++i) {
    WriteHostFile(root + "/c/" + name + "/entry" + std::to_string(i) + ".bin", 300, i);
  }
  std::vector<double> copies, removals;
  for (int round = 0; round < rounds; ++round) {
    copies.push_back(
        Seconds([&] { CopyOrAbort("C:\\" + name + "\\*.*", "D:\\" + name + "Copy"); }));
    removals.push_back(Seconds([&] { DeleteOrAbort("D:\\" + name + "Copy"); }));
  }
  *copy = Median(copies) / files;
  *remove = Median(removals) / files;
  fs::remove_all(root + "/c/" + name);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 3;
  std::string parent = fs::temp_directory_path().string();
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--dir") == 0) parent = argv[i + 1];
  }
  std::string root = parent + "/tree-benchmark-XXXXXX";
  if (mkdtemp(root.data()) == nullptr) return 1;
  platform::SetVolumeRoot(root);
  fs::create_directories(root + "/c");
  fs::create_directories(root + "/d");
  const int files = StageTree(root + "/c/Tree");
  std::printf("Staged tree: %d files in %s\n", files, (root + "/c/Tree").c_str());

  Pair copy{"copy (ShellCopy / cp -a)", {}, {}};
  Pair remove{"delete (DeleteTree / rm -rf)", {}, {}};
  Pair find{"find (FindFilesRecursively / find)", {}, {}};
  Pair findDelete{"find and delete (DeleteFilesRecursively / find -delete)", {}, {}};
  const std::string theirs = root + "/d/Theirs";
  for (int round = 0; round < rounds; ++round) {
    copy.ours.push_back(Seconds([&] { CopyOrAbort("C:\\Tree\\*.*", "D:\\Ours"); }));
    copy.theirs.push_back(
        Seconds([&] { Run("cp -a " + Quoted(root + "/c/Tree") + " " + Quoted(theirs)); }));
    std::size_t found = 0;
    find.ours.push_back(
        Seconds([&] { found = FindFilesRecursively("D:\\Ours", "VEXORAND.DAT").size(); }));
    find.theirs.push_back(
        Seconds([&] { Run("find " + Quoted(theirs) + " -iname vexorand.dat >/dev/null"); }));
    if (found != kSmallFolders) std::fprintf(stderr, "tree_benchmark: found %zu\n", found);
    findDelete.ours.push_back(
        Seconds([&] { DeleteFilesRecursively("D:\\Ours", "vexorand.dat", "vexorand.dat.bak"); }));
    findDelete.theirs.push_back(Seconds([&] {
      Run("find " + Quoted(theirs) +
          " \\( -iname vexorand.dat -o -iname vexorand.dat.bak \\) -delete");
    }));
    remove.ours.push_back(Seconds([&] { DeleteOrAbort("D:\\Ours"); }));
    remove.theirs.push_back(Seconds([&] { Run("rm -rf " + Quoted(theirs)); }));
  }

  std::printf("%-58s %10s %10s %7s\n", "median of rounds", "ours s", "tool s", "ratio");
  for (const Pair* pair : {&copy, &remove, &find, &findDelete}) {
    const double ours = Median(pair->ours), tool = Median(pair->theirs);
    std::printf("%-58s %10.3f %10.3f %7.2f\n", pair->what, ours, tool, ours / tool);
  }

  // Linear growth: the per-file cost of a folder of 10,000 files beside one of 100.
  double smallCopy = 0, smallRemove = 0, largeCopy = 0, largeRemove = 0;
  FolderCost(root, 100, std::max(rounds, 15), &smallCopy, &smallRemove);
  FolderCost(root, kLargeFolderFiles, rounds, &largeCopy, &largeRemove);
  std::printf("per file, folder of 100: copy %.1f us, delete %.1f us\n", smallCopy * 1e6,
              smallRemove * 1e6);
  std::printf("per file, folder of %d: copy %.1f us, delete %.1f us\n", kLargeFolderFiles,
              largeCopy * 1e6, largeRemove * 1e6);
  std::printf("growth (per-file cost, %d / 100): copy %.2f, delete %.2f\n", kLargeFolderFiles,
              largeCopy / smallCopy, largeRemove / smallRemove);

  fs::remove_all(root);
  return 0;
}
