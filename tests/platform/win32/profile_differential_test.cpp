// Runs a corpus of awkward profile files through the system's profile functions and through our
// own reader, and demands the same answer to every query, so that the POSIX edition reads
// profiles exactly as Windows does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>
#include <vector>

#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/profile_text.h"
#include "tests/support/staged_files.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr std::size_t kMaxSections = 20;
constexpr std::size_t kMaxKeys = 40;
constexpr std::size_t kMaxReported = 60;

// Where wine is known to part from Windows, and our reader follows Windows.
// A section name ends at the first "]" on Windows; wine reads up to the last one.
constexpr const char* kSectionsWithBrackets = "bracket_in_section.ini";
// Wine rewrites the whole file on every write and leaves out the header of a section with an
// empty name, which moves its keys; Windows changes only the line it writes.
constexpr const char* kSectionWithEmptyName = "section_empty_name.ini";

// Wine drops the last character of a quoted value that exactly fills the buffer; Windows keeps
// it, as its documentation of truncation says.
bool IsWineQuotedValueCut(const std::string& text, const std::string& full, std::size_t size,
                          const std::string& system, const std::string& ours) {
  return text.find_first_of("\"'") != std::string::npos && !full.empty() &&
         size == full.size() + 1 && ours == full && system == full.substr(0, full.size() - 1);
}

// The corpus folder as this program sees it: wine shows the host's file system as drive Z.
std::string CorpusFolder() {
  std::string folder = PROFILE_CORPUS_DIR;
  if (!folder.empty() && folder[0] == '/') folder = "Z:" + folder;
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder + "\\";
}

std::string Printable(const std::string& text) {
  std::string shown;
  for (const char c : text.substr(0, 80)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      shown += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    }
  }
  return text.size() > 80 ? shown + "...(" + std::to_string(text.size()) + ")" : shown;
}

std::string Trimmed(const std::string& text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::string Cased(std::string text, int (*convert)(int)) {
  for (char& c : text) c = static_cast<char>(convert(static_cast<unsigned char>(c)));
  return text;
}

void AddWithVariants(const std::string& name, std::size_t limit, std::vector<std::string>* names) {
  for (const std::string& variant :
       {name, Cased(name, std::toupper), Cased(name, std::tolower), " " + name + " "}) {
    if (names->size() < limit && std::find(names->begin(), names->end(), variant) == names->end()) {
      names->push_back(variant);
    }
  }
}

// Section and key names worth asking for: every name-like part of every line, in several
// letter cases and with blanks around, and names the file does not hold.
void CollectNames(const std::string& text, std::vector<std::string>* sections,
                  std::vector<std::string>* keys) {
  std::string plain = text;
  // Lets the names of a UTF-16 file through as well.
  if (plain.compare(0, 2, "\xFF\xFE") == 0 || plain.compare(0, 2, "\xFE\xFF") == 0) {
    plain.erase(0, 2);
    plain.erase(std::remove(plain.begin(), plain.end(), '\0'), plain.end());
  }
  AddWithVariants("", kMaxSections, sections);
  AddWithVariants("Missing", kMaxSections, sections);
  AddWithVariants("missing", kMaxKeys, keys);
  std::istringstream lines(plain);
  std::string line;
  while (std::getline(lines, line, '\n')) {
    std::istringstream parts(line);
    std::string part;
    while (std::getline(parts, part, '\r')) {
      const std::string trimmed = Trimmed(part);
      if (trimmed.empty()) continue;
      if (trimmed[0] == '[') {
        const std::size_t first = trimmed.find(']');
        const std::size_t last = trimmed.rfind(']');
        if (first != std::string::npos)
          AddWithVariants(trimmed.substr(1, first - 1), kMaxSections, sections);
        if (last != std::string::npos)
          AddWithVariants(trimmed.substr(1, last - 1), kMaxSections, sections);
        AddWithVariants(trimmed.substr(1), kMaxSections, sections);
      }
      const std::size_t equals = trimmed.find('=');
      if (equals != std::string::npos)
        AddWithVariants(Trimmed(trimmed.substr(0, equals)), kMaxKeys, keys);
      AddWithVariants(trimmed, kMaxKeys, keys);
    }
  }
}

std::string ReadBytes(const std::string& path) {
  return ReadStagedFile(path);
}

class Comparison {
 public:
  explicit Comparison(std::string file) : file_(std::move(file)) {}

  void Expect(const std::string& what, const std::string& system, const std::string& ours) {
    ++queries_;
    if (system == ours) return;
    ++mismatches_;
    if (report_.size() < kMaxReported) {
      report_.push_back(file_ + ": " + what + "\n    system: \"" + Printable(system) +
                        "\"\n    ours:   \"" + Printable(ours) + "\"");
    }
  }

  int queries() const { return queries_; }
  int mismatches() const { return mismatches_; }
  const std::vector<std::string>& report() const { return report_; }

 private:
  std::string file_;
  int queries_ = 0;
  int mismatches_ = 0;
  std::vector<std::string> report_;
};

std::string Query(const std::string& section, const std::string& key) {
  return "[" + Printable(section) + "] \"" + Printable(key) + "\"";
}

// Every read query on one file: the system reads `path`, our reader reads `text`.
void CompareReads(const std::string& path, const std::string& text,
                  const std::vector<std::string>& sections, const std::vector<std::string>& keys,
                  Comparison* comparison) {
  // The parse the POSIX reader keeps per file answers like the search of the text.
  const platform::ParsedProfile parsed(text, platform::ProfileCodePage::kWestern);
  for (const std::string& section : sections) {
    for (const std::string& key : keys) {
      const std::string system = platform::ReadProfileString(section, key, "dflt", path);
      comparison->Expect(Query(section, key), system,
                         platform::ReadProfileStringFromText(text, section, key, "dflt", 260));
      comparison->Expect(Query(section, key) + " parsed once", system,
                         parsed.ReadString(section, key, "dflt", 260));
      comparison->Expect(Query(section, key) + " as number",
                         std::to_string(platform::ReadProfileInt(section, key, -99, path)),
                         std::to_string(platform::ReadProfileIntFromText(text, section, key, -99)));
      if (system == "dflt") continue;
      const std::size_t length = system.size();
      for (const std::size_t size :
           {std::size_t{1}, std::size_t{2}, std::size_t{3}, length, length + 1, length + 2}) {
        if (size == 0) continue;
        const std::string cut = platform::ReadProfileString(section, key, "dflt", path, size);
        const std::string ours =
            platform::ReadProfileStringFromText(text, section, key, "dflt", size);
        if (IsWineQuotedValueCut(text, system, size, cut, ours)) continue;
        comparison->Expect(Query(section, key) + " in " + std::to_string(size) + " bytes", cut,
                           ours);
      }
    }
  }
  for (const char* fallback : {"", "  ", "d  ", " d", "d\t", "d e "}) {
    for (const std::size_t size : {std::size_t{260}, std::size_t{2}}) {
      comparison->Expect(
          "default \"" + Printable(std::string(fallback)) + "\" in " + std::to_string(size) +
              " bytes",
          platform::ReadProfileString("Missing", "missing", fallback, path, size),
          platform::ReadProfileStringFromText(text, "Missing", "missing", fallback, size));
    }
  }
}

std::vector<std::string> CorpusFiles() {
  std::vector<platform::DirectoryEntry> entries;
  platform::ListDirectory(CorpusFolder() + "*.ini", &entries);
  std::vector<std::string> names;
  for (const auto& entry : entries) {
    if (entry.name != kSectionsWithBrackets) names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ExpectAgreement(const Comparison& comparison) {
  std::string report;
  for (const std::string& line : comparison.report()) report += line + "\n";
  EXPECT_EQ(comparison.mismatches(), 0) << report;
}

TEST(ProfileDifferentialTest, OurReaderAnswersEveryQueryAsTheSystemDoes) {
  const std::vector<std::string> files = CorpusFiles();
  ASSERT_GE(files.size(), 40u) << "corpus in " << CorpusFolder();
  int queries = 0;
  for (const std::string& name : files) {
    const std::string path = CorpusFolder() + name;
    const std::string text = ReadBytes(path);
    std::vector<std::string> sections, keys;
    CollectNames(text, &sections, &keys);
    Comparison comparison(name);
    CompareReads(path, text, sections, keys, &comparison);
    queries += comparison.queries();
    ExpectAgreement(comparison);
  }
  std::printf("%zu files, %d queries\n", files.size(), queries);
}

TEST(ProfileDifferentialTest, WritesReadBackAsTheSystemsDo) {
  TempFolder folder;
  for (const std::string& name : CorpusFiles()) {
    if (name == kSectionWithEmptyName) continue;
    const std::string original = ReadBytes(CorpusFolder() + name);
    std::vector<std::string> sections, keys;
    CollectNames(original, &sections, &keys);
    // An existing key, a new key in an existing section and a new section, in turn.
    const std::string existingSection = sections.size() > 4 ? sections[4] : "Missing";
    const std::string existingKey = keys.size() > 4 ? keys[4] : "missing";
    const std::vector<std::vector<std::string>> writes = {
        {existingSection, existingKey, "written"},
        {existingSection, "NewKey", " spaced \"value\" "},
        {"New Section", "k", "v"},
        {"new section", "K", "replaced"}};
    const std::string systemFile = folder.Path("system-" + name);
    folder.WriteFile("system-" + name, original);
    std::string ours = original;
    for (const auto& write : writes) {
      ASSERT_TRUE(platform::WriteProfileString(write[0], write[1], write[2], systemFile)) << name;
      ours = platform::WriteProfileStringToText(ours, write[0], write[1], write[2]);
    }
    sections.push_back("New Section");
    keys.push_back("NewKey");
    keys.push_back("k");
    Comparison comparison(name + " after writes");
    CompareReads(systemFile, ours, sections, keys, &comparison);
    ExpectAgreement(comparison);
  }
}

}  // namespace
