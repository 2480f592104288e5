#include "format/parameter_order.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "base/language.h"
#include "base/message_sink.h"
#include "base/messages.h"
#include "base/text_format.h"
#include "format/node_paths.h"

namespace {

constexpr size_t kNotFound = std::numeric_limits<size_t>::max();

// Minimum over ranges of numbers, to find the next later number that does not exceed a limit
// without scanning everything after it.
class MinimumTree {
 public:
  explicit MinimumTree(const std::vector<int>& values) : count_(values.size()) {
    while (leaves_ < count_) leaves_ *= 2;
    tree_.assign(2 * leaves_, std::numeric_limits<std::int64_t>::max());
    for (size_t i = 0; i < count_; ++i) tree_[leaves_ + i] = values[i];
    for (size_t i = leaves_; i-- > 1;) tree_[i] = std::min(tree_[2 * i], tree_[2 * i + 1]);
  }

  // The first position at or after `from` whose number is at most `limit`.
  size_t FindFirstAtMost(size_t from, int limit) const { return Find(1, 0, leaves_, from, limit); }

 private:
  size_t Find(size_t node, size_t begin, size_t end, size_t from, int limit) const {
    if (end <= from || begin >= count_ || tree_[node] > limit) return kNotFound;
    if (end - begin == 1) return begin;
    const size_t middle = begin + (end - begin) / 2;
    const size_t left = Find(2 * node, begin, middle, from, limit);
    return left != kNotFound ? left : Find(2 * node + 1, middle, end, from, limit);
  }

  size_t count_;
  size_t leaves_ = 1;
  std::vector<std::int64_t> tree_;
};

}  // namespace

void FindParameterOrderProblems(const ValueNodeList& nodes, const ParameterOrderReport& report) {
  std::vector<const CValueNode*> numbered;
  std::vector<int> ids;
  bool rising = true;
  for (const auto& node : nodes) {
    if (node->id == -1) continue;
    if (!ids.empty() && ids.back() >= node->id) rising = false;
    numbered.push_back(node.get());
    ids.push_back(node->id);
  }
  if (rising) return;
  const MinimumTree tree(ids);
  for (size_t i = 0; i + 1 < ids.size(); ++i) {
    for (size_t j = tree.FindFirstAtMost(i + 1, ids[i]); j != kNotFound;
         j = tree.FindFirstAtMost(j + 1, ids[i])) {
      if (!report(*numbered[i], *numbered[j])) return;
    }
  }
}

std::string ParameterLabel(const CValueNode& node) {
  return "\"[" + node.idText + "]" + DisplayNamePath(node) + "\"";
}

std::string ParameterOrderMessage(const CValueNode& earlier, const CValueNode& later,
                                  int languageIndex) {
  return FormatText(LocaliseFor(kSerialNumberOrder, languageIndex), ParameterLabel(earlier).c_str(),
                    ParameterLabel(later).c_str());
}

void CheckParameterOrder(const ValueNodeList& nodes, IMessageSink& sink) {
  FindParameterOrderProblems(nodes, [&sink](const CValueNode& earlier, const CValueNode& later) {
    const int answer = sink.ShowMessage(ParameterOrderMessage(earlier, later, sink.Language()),
                                        kMbOkCancel | kMbIconExclamation);
    return answer != kIdCancel;
  });
}
