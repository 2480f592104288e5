// vextool fmt diff: what a migration from the old block to the new one drops.
#include "base/message_sink.h"
#include "format/field_descriptor.h"
#include "format/node_paths.h"
#include "migration/amendment_file.h"
#include "migration/parameter_validation.h"
#include "tools/vextool/fmt_diff_model.h"
#include "tools/vextool/vextool_sink.h"

namespace {

// The binding of the old file a second time keeps quiet: the order check speaks of the old file's
// numbering, which is not what is compared here, and what parsing the old file logs was already
// shown once.
class QuietSink : public IMessageSink {
 public:
  explicit QuietSink(VextoolSink& tool) : tool_(tool) {}
  int ShowMessage(const std::string&, unsigned) override { return kIdCancel; }
  void WriteLog(const std::string& text) override { tool_.KeepQuietly(text); }
  SetupRun& Run() const override { return tool_.Run(); }

 private:
  VextoolSink& tool_;
};

// The path with every index at 0.
std::string FirstElementPath(std::string path) {
  for (std::size_t open = 0; (open = path.find('[', open)) != std::string::npos;) {
    const std::size_t close = path.find(']', open);
    if (close == std::string::npos) break;
    path.replace(open + 1, close - open - 1, "0");
    open += 2;
  }
  return path;
}

}  // namespace

// The old block's parameters as the generation step writes them (bound to zero bytes: the names
// do not depend on the values), checked as the transfer step checks names against the new block.
MigrationLoss LossOfBlock(const std::string& oldPath, const std::string& name,
                          const CTypeRecord& newBlock, std::size_t size, VextoolSink& sink) {
  MigrationLoss loss;
  loss.block = name;
  const std::vector<unsigned char> zeros(size);
  QuietSink quiet(sink);
  CFieldDescriptor binder(quiet);
  if (!binder.Bind(name, zeros.data(), zeros.size(), oldPath)) return loss;
  CParameterNameResolver resolver(newBlock);
  for (const auto& node : binder.Nodes()) {
    const std::string path = FieldPath(*node);
    // As migrate counts them: guard fields are never carried, so they are no parameters.
    if (node->valueText.empty() || IsMarkerName(path)) continue;
    ++loss.parameters;
    if (resolver.Resolves(path)) continue;
    // A name that resolves with every index at 0 lost only its index.
    (resolver.Resolves(FirstElementPath(path)) ? loss.indexesFallAway : loss.dropped)
        .push_back(path);
  }
  return loss;
}
