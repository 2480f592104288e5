// vextool fmt diff: the command; the report is built in fmt_diff_compare.cpp and
// fmt_diff_loss.cpp and written in fmt_diff_text.cpp and fmt_diff_json.cpp.
#include <cstdio>

#include "tools/vextool/command_line.h"
#include "tools/vextool/fmt_diff_model.h"
#include "tools/vextool/fmt_dump.h"
#include "tools/vextool/fmt_subcommands.h"
#include "tools/vextool/report_path.h"
#include "tools/vextool/standard_output.h"
#include "tools/vextool/vextool_sink.h"

namespace {

constexpr int kDiffer = 1;
constexpr int kTrouble = 2;

const CommandSyntax kSyntax = {
    {"vextool fmt diff", "compare two format descriptions field by field",
     "OLD.fmt NEW.fmt [--block NAME] [--json] [--lang-dir DIR]",
     "Compares the structures and block formats of two format descriptions, matched by name:\n"
     "those added and removed, and per structure and block its size, alignment, ID span and\n"
     "pack value, and the members added, removed or changed in type (as written), pointer\n"
     "flag, element count, offset, size, output format, element format or ID offset; a member\n"
     "removed and one added with the same type, offset and ID are named as likely renamed. For a\n"
     "block the size is the one binding checks: a parameter file written for the old block no\n"
     "longer binds to a new block of another size.\n"
     "Then, per block present in both, the consequence for a migration: the parameters of the\n"
     "old block (as the generation step writes them; its guard fields are none) whose names do\n"
     "not resolve in the new block (as the transfer step checks them) and so are dropped, the\n"
     "array indexes that fall away when a count shrinks listed apart. Comments do not count as\n"
     "a change.",
     "--block NAME  compare only the block format NAME and the structures it uses\n"
     "--json        one object (below) instead of the text\n"
     "--lang-dir DIR  the installation folder whose Lang\\Lang.ini names the string file of\n"
     "              the {@n} comments of both files (default: the current directory)\n"
     "\n"
     "The JSON object: {\"old\", \"new\" (the files' absolute host paths, UTF-8),\n"
     "\"identical\" (true or false),\n"
     "\"types\": [{\"kind\" (\"struct\" or \"block\"), \"name\", \"change\" (\"added\",\n"
     "\"removed\" or \"changed\"), \"changed\" (the names of the attributes that differ),\n"
     "\"old\" and \"new\" ({\"size\", \"align\", \"idspan\", \"pack\"} or null), \"members\":\n"
     "[{\"name\", \"change\", \"changed\", \"old\" and \"new\" ({\"type\", \"pointer\",\n"
     "\"count\", \"offset\", \"size\", \"format\", \"element_format\", \"idoffset\"} or\n"
     "null)}], \"likely_renamed\": [{\"old\", \"new\"}]}], \"migration\": [{\"block\",\n"
     "\"parameters\" (how many the old block has),\n"
     "\"dropped\" [names], \"indexes_fall_away\" [names]}]}. Texts are escaped as in\n"
     "'vextool fmt layout --json'.",
     "0 the layouts are identical; 1 they differ; 2 a file cannot be read or does not parse,\n"
     "the block is in neither, or the report cannot be written; 64 usage.",
     "$ vextool fmt diff old/vexorand.fmt new/vexorand.fmt --block CController\n"
     "block CController: changed\n"
     "  size 1016 -> 1020\n"
     "  + m_dCornerTolerance: double, offset 1008, size 8, id 9\n"
     "  - m_nBacklashComp: int, offset 996, size 4, id 7\n"
     "migration of CController: 98 parameters, 2 dropped\n"
     "  dropped: m_dRapidOverride\n"
     "  dropped: m_nBacklashComp"},
    {ValueOption("--block"), FlagOption("--json"), ValueOption("--lang-dir")},
    {"OLD.fmt", "NEW.fmt"},
};

}  // namespace

int RunFmtDiff(const CommandArguments& arguments, VextoolSink& sink) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kSyntax, &line)) return *status;
  UseLanguageFolderOf(line.Value("--lang-dir"), sink);
  const std::string& oldPath = line.Operand(0);
  const std::string& newPath = line.Operand(1);
  CommandSink counted(sink);
  CFormatParser before(counted), after(counted);
  if (!ParseFormatFile(oldPath, before, counted) || !ParseFormatFile(newPath, after, counted)) {
    return kTrouble;
  }

  const std::string only = line.Value("--block");
  DiffReport report;
  if (!CompareFormats(before, after, line.Has("--block") ? &only : nullptr, &report.types)) {
    std::fprintf(stderr, "vextool fmt diff: no block format '%s' in either file\n", only.c_str());
    return kTrouble;
  }
  for (int i = 0; i < before.BlockCount(); ++i) {
    const CTypeRecord& inOld = before.Block(i);
    const CTypeRecord* inNew = after.FindBlock(inOld.name);
    if (inNew == nullptr || (line.Has("--block") && inOld.name != only)) continue;
    report.losses.push_back(
        LossOfBlock(oldPath, inOld.name, *inNew, static_cast<std::size_t>(inOld.size), sink));
  }
  report.oldPath = ReportPath(oldPath);
  report.newPath = ReportPath(newPath);

  const std::string text = line.Has("--json") ? DiffJson(report) : DiffText(report);
  if (!WriteStandardOutput(text)) return kTrouble;
  return report.Identical() ? 0 : kDiffer;
}
