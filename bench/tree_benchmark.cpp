// Whole folder trees through the volume map beside the host's own tools, in the same run and on
// the same staged tree: the backup copy against `cp -a`, the update's backup step (copy with
// digests, manifest, flush, check) against `cp -a` followed by `sync`, the clearing against `rm
// -rf`, the migration's recursive find and delete against `find`. Each figure is the median of
// several rounds; ratios are ours / the tool's, in wall time and in processor time (user + system,
// ours from this process, the tool's from its children), the latter less at the mercy of a shared
// disk. The backup step and its yardstick take turns going first, and the ratio of each pair is
// reported with its spread, since on a shared machine one round can be twice another. A timed
// run, not a Google Benchmark: the tools are separate processes and the tree must be staged
// afresh for every deletion. --dir /dev/shm takes the disk out of the figures.
//
//   tree_benchmark [--rounds N] [--backup-rounds N] [--dir HOSTDIR]
#include <stdlib.h>
#include <sys/resource.h>
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

#include "app/backup.h"
#include "app/step_host.h"
#include "base/folder_tree.h"
#include "base/message_sink.h"
#include "base/message_styles.h"
#include "base/setup_run.h"
#include "migration/file_walks.h"
#include "platform/posix/volume_map.h"
#include "platform/shell_copy.h"
#include "platform/tree_flush.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kSmallFolders = 50;
constexpr int kFilesPerSmallFolder = 100;
constexpr int kLargeFolderFiles = 10000;
constexpr int kLargeFiles = 4;
constexpr std::size_t kLargeFileSize = 16 << 20;

void WriteHostFile(const std::string& path, std::size_t size, int seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>('a' + (static_cast<std::size_t>(seed) + i * 7) % 26);
  }
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
      WriteHostFile(folder + "/Item" + std::to_string(i) + ".ini",
                    512 + (static_cast<std::size_t>(i) * 97) % 4096, i);
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

struct Cost {
  double wall = 0;
  double processor = 0;
};

double ProcessorSeconds(int who) {
  struct rusage usage;
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// `work` done by this process (tool false) or by the programs it runs (tool true).
Cost Measure(const std::function<void()>& work, bool tool = false) {
  sync();
  const int who = tool ? RUSAGE_CHILDREN : RUSAGE_SELF;
  const double processor = ProcessorSeconds(who);
  const Clock::time_point start = Clock::now();
  work();
  return {std::chrono::duration<double>(Clock::now() - start).count(),
          ProcessorSeconds(who) - processor};
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

double Median(std::vector<Cost> costs, double Cost::*field) {
  std::vector<double> values;
  for (const Cost& cost : costs) values.push_back(cost.*field);
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Pair {
  const char* what;
  std::vector<Cost> ours, theirs;
};

void CopyOrAbort(const std::string& pattern, const std::string& destination) {
  if (!platform::ShellCopy(pattern, destination)) {
    std::fprintf(stderr, "tree_benchmark: ShellCopy %s failed\n", pattern.c_str());
    std::exit(1);
  }
}

// The host of the backup step: it asks nothing, and what would be logged does not matter here.
class QuietHost : public IStepHost {
 public:
  QuietHost(const std::string& installation, const std::string& backupPath) {
    run_.layout.makerFolder = installation;
    run_.layout.installationFolder = installation;
    run_.layout.backupPathValue = backupPath;
  }
  int ShowMessage(const std::string&, unsigned) override { return kIdOk; }
  void WriteLog(const std::string&) override {}
  SetupRun& Run() const override { return run_; }
  void StopStepTimer() override {}
  void StartStepTimer() override {}

 private:
  mutable SetupRun run_;
};

// The update's backup step of the tree as the maker folder; the backup folder it made.
std::string BackUpOrAbort(const std::string& installation, const std::string& backupPath) {
  QuietHost host(installation, backupPath);
  int warnings = 0;
  const BackupOutcome outcome = BackUpInstallation(host, &warnings);
  if (outcome.status != BackupOutcome::Status::kMade) {
    std::fprintf(stderr, "tree_benchmark: backup of %s failed: %s\n", installation.c_str(),
                 outcome.reason.c_str());
    std::exit(1);
  }
  return outcome.folder;
}

// Where the update's tree helpers report: the setup log in the working folder.
IMessageSink& Log() {
  static SetupRun run;
  static CMessageBoxSink sink(run);
  return sink;
}

void DeleteOrAbort(const std::string& path) {
  if (!DeleteTree(Log(), path)) {
    std::fprintf(stderr, "tree_benchmark: DeleteTree %s failed\n", path.c_str());
    std::exit(1);
  }
}

// The median, quartiles and extremes of the ratios of the rounds.
void PrintRatios(const char* what, const std::vector<Cost>& ours, const std::vector<Cost>& theirs,
                 double Cost::*field) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < ours.size(); ++i) ratios.push_back(ours[i].*field / theirs[i].*field);
  std::sort(ratios.begin(), ratios.end());
  const auto at = [&ratios](std::size_t quarters) {
    return ratios[(ratios.size() - 1) * quarters / 4];
  };
  std::printf(
      "  %-15s ours %.3f s, tool %.3f s (medians); ratio %.2f, middle half %.2f-%.2f, "
      "all %.2f-%.2f\n",
      what, Median(ours, field), Median(theirs, field), at(2), at(1), at(3), at(0), at(4));
}

// The update's backup step against `cp -a` followed by `sync`, in pairs whose members take turns
// going first, so that neither always finds the disk busy with the other's writes. The copies
// stay until the last pair: ext4 passes over recently freed inodes when it makes a file, so a
// deletion between the rounds would make the next round's creations pay for it, several times
// over.
void CompareBackups(const std::string& root, int rounds) {
  const std::string tree = Quoted(root + "/c/Tree");
  std::vector<Cost> ours, tools;
  for (int round = 0; round < rounds; ++round) {
    const auto backUp = [&] {
      ours.push_back(Measure([&] { BackUpOrAbort("C:\\Tree\\", "D:\\Backup\\"); }));
    };
    const std::string theirs = Quoted(root + "/d/BackupTheirs" + std::to_string(round));
    const auto copyAndSync = [&] {
      tools.push_back(Measure([&] { Run("cp -a " + tree + " " + theirs + " && sync"); }, true));
    };
    if (round % 2 == 0) {
      backUp();
      copyAndSync();
    } else {
      copyAndSync();
      backUp();
    }
  }
  DeleteOrAbort("D:\\Backup");
  Run("rm -rf " + Quoted(root + "/d") + "/BackupTheirs*");
  std::printf("checked backup (BackUpInstallation / cp -a + sync), %d pairs:\n", rounds);
  PrintRatios("wall time", ours, tools, &Cost::wall);
  PrintRatios("processor time", ours, tools, &Cost::processor);
}

double LoadAverage() {
  double load = 0;
  return getloadavg(&load, 1) == 1 ? load : -1;
}

// The per-file processor time of copying and deleting one folder of `files` files, ours and
// the tools', median of `rounds`.
struct FolderCosts {
  double copy = 0, remove = 0, toolCopy = 0, toolRemove = 0;
};

FolderCosts FolderCost(const std::string& root, int files, int rounds) {
  const std::string name = "Flat" + std::to_string(files);
  const std::string source = root + "/c/" + name;
  const std::string theirs = root + "/d/" + name + "Theirs";
  fs::create_directories(source);
  for (int i = 0; i < files; ++i) {
    WriteHostFile(source + "/entry" + std::to_string(i) + ".bin", 300, i);
  }
  std::vector<Cost> copies, removals, toolCopies, toolRemovals;
  for (int round = 0; round < rounds; ++round) {
    copies.push_back(
        Measure([&] { CopyOrAbort("C:\\" + name + "\\*.*", "D:\\" + name + "Copy"); }));
    removals.push_back(Measure([&] { DeleteOrAbort("D:\\" + name + "Copy"); }));
    toolCopies.push_back(
        Measure([&] { Run("cp -a " + Quoted(source) + " " + Quoted(theirs)); }, true));
    toolRemovals.push_back(Measure([&] { Run("rm -rf " + Quoted(theirs)); }, true));
  }
  fs::remove_all(source);
  return {Median(copies, &Cost::processor) / files, Median(removals, &Cost::processor) / files,
          Median(toolCopies, &Cost::processor) / files,
          Median(toolRemovals, &Cost::processor) / files};
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 3;
  int backupRounds = 11;
  std::string parent = fs::temp_directory_path().string();
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--backup-rounds") == 0) {
      backupRounds = std::max(1, std::atoi(argv[i + 1]));
    }
    if (std::strcmp(argv[i], "--dir") == 0) parent = argv[i + 1];
  }
  std::string root = parent + "/tree-benchmark-XXXXXX";
  if (mkdtemp(root.data()) == nullptr) return 1;
  platform::SetVolumeRoot(root);
  fs::create_directories(root + "/c");
  fs::create_directories(root + "/d");
  const int files = StageTree(root + "/c/Tree");
  std::printf("Staged tree: %d files in %s\n", files, (root + "/c/Tree").c_str());
  const double loadAtStart = LoadAverage();

  CompareBackups(root, backupRounds);

  Pair copy{"copy (ShellCopy / cp -a)", {}, {}};
  Pair remove{"delete (DeleteTree / rm -rf)", {}, {}};
  Pair find{"find (FindFilesRecursively / find)", {}, {}};
  Pair findDelete{"find+delete (DeleteFilesRecursively / find)", {}, {}};
  const std::string theirs = root + "/d/Theirs";
  for (int round = 0; round < rounds; ++round) {
    copy.ours.push_back(Measure([&] { CopyOrAbort("C:\\Tree\\*.*", "D:\\Ours"); }));
    copy.theirs.push_back(
        Measure([&] { Run("cp -a " + Quoted(root + "/c/Tree") + " " + Quoted(theirs)); }, true));
    std::size_t found = 0;
    find.ours.push_back(
        Measure([&] { found = FindFilesRecursively(Log(), "D:\\Ours", "VEXORAND.DAT").size(); }));
    find.theirs.push_back(
        Measure([&] { Run("find " + Quoted(theirs) + " -iname vexorand.dat >/dev/null"); }, true));
    if (found != kSmallFolders) std::fprintf(stderr, "tree_benchmark: found %zu\n", found);
    findDelete.ours.push_back(Measure(
        [&] { DeleteFilesRecursively(Log(), "D:\\Ours", "vexorand.dat", "vexorand.dat.bak"); }));
    findDelete.theirs.push_back(Measure(
        [&] {
          Run("find " + Quoted(theirs) +
              " \\( -iname vexorand.dat -o -iname vexorand.dat.bak \\) -delete");
        },
        true));
    remove.ours.push_back(Measure([&] { DeleteOrAbort("D:\\Ours"); }));
    remove.theirs.push_back(Measure([&] { Run("rm -rf " + Quoted(theirs)); }, true));
  }

  std::printf("%-46s %9s %9s %6s %9s %9s %6s\n", "median of rounds, seconds", "ours", "tool",
              "ratio", "ours cpu", "tool cpu", "ratio");
  for (const Pair* pair : {&copy, &remove, &find, &findDelete}) {
    const double ours = Median(pair->ours, &Cost::wall), tool = Median(pair->theirs, &Cost::wall);
    const double oursCpu = Median(pair->ours, &Cost::processor);
    const double toolCpu = Median(pair->theirs, &Cost::processor);
    std::printf("%-46s %9.3f %9.3f %6.2f %9.3f %9.3f %6.2f\n", pair->what, ours, tool, ours / tool,
                oursCpu, toolCpu, oursCpu / toolCpu);
  }

  // Linear growth: the per-file cost of a folder of 10,000 files beside one of 100.
  const FolderCosts small = FolderCost(root, 100, std::max(rounds, 15));
  const FolderCosts large = FolderCost(root, kLargeFolderFiles, rounds);
  for (const auto& [fileCount, costs] :
       {std::pair<int, FolderCosts>{100, small}, {kLargeFolderFiles, large}}) {
    std::printf(
        "processor time per file, folder of %5d: copy %.1f us (cp -a %.1f), delete %.1f us (rm -rf "
        "%.1f)\n",
        fileCount, costs.copy * 1e6, costs.toolCopy * 1e6, costs.remove * 1e6,
        costs.toolRemove * 1e6);
  }
  std::printf(
      "growth (per-file cost, %d / 100): copy %.2f (cp -a %.2f), delete %.2f (rm -rf %.2f)\n",
      kLargeFolderFiles, large.copy / small.copy, large.toolCopy / small.toolCopy,
      large.remove / small.remove, large.toolRemove / small.toolRemove);

  std::printf("load average (1 min) of the machine: %.1f at the start, %.1f at the end\n",
              loadAtStart, LoadAverage());
  fs::remove_all(root);
  return 0;
}
