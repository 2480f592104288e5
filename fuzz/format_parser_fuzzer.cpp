// Format descriptions are edited by hand for years: any bytes must parse or fail cleanly, and
// whatever parses must lay out and walk safely over a block of its size.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "base/setup_run.h"
#include "format/format_parser.h"
#include "format/traversal_context.h"

namespace {

// Blocks larger than this are parsed but not walked, to keep each run short.
constexpr int kMaxWalkedSize = 1 << 16;

// Log entries and message boxes go nowhere.
class QuietSink : public IMessageSink {
 public:
  int ShowMessage(const std::string&, unsigned) override { return kIdOk; }
  void WriteLog(const std::string&) override {}
  SetupRun& Run() const override { return run_; }

 private:
  mutable SetupRun run_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietSink sink;
  CFormatParser parser(sink);
  parser.ParseText("C:\\Fuzz\\vexorand.fmt",
                   std::string_view(reinterpret_cast<const char*>(data), size));
  for (int i = 0; i < parser.BlockCount(); ++i) {
    const CTypeRecord& block = parser.Block(i);
    if (block.size > kMaxWalkedSize) continue;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(block.size) + 1, 0xA5);
    ValueNodeList nodes;
    CTraversalContext context(&nodes, sink);
    context.WalkBlock(block, bytes.data());
  }
  return 0;
}
