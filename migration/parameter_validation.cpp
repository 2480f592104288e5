#include "migration/parameter_validation.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/message_styles.h"
#include "base/messages.h"
#include "format/format_parser.h"
#include "format/type_record.h"
#include "migration/amendment_file.h"
#include "platform/ascii_characters.h"

namespace {

constexpr const char kControllerBlock[] = "CController";
// Names are looked at through a 1024-byte buffer.
constexpr std::size_t kLongestName = 1023;

// The number after "[": leading blanks and a sign allowed, digits as far as they go, 0 without
// any; saturating like the C library's conversion.
int ReadIndex(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && platform::IsAsciiSpace(text[i])) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long magnitude = 0;
  for (; i < text.size() && platform::IsAsciiDigit(text[i]); ++i) {
    magnitude = std::min<long long>(magnitude * 10 + (text[i] - '0'), 1LL << 32);
  }
  const long long value = negative ? -magnitude : magnitude;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

// Every type's fields by name, in declaration order, so the first declaration that accepts an
// index still wins.
struct CParameterNameResolver::Index {
  using FieldsByName = std::unordered_map<std::string_view, std::vector<const CFieldRecord*>>;
  std::unordered_map<const CTypeRecord*, FieldsByName> types;

  const FieldsByName& For(const CTypeRecord& type) {
    auto known = types.find(&type);
    if (known != types.end()) {
      return known->second;
    }
    FieldsByName& fields = types[&type];
    for (const CFieldRecord& field : type.fields) {
      fields[field.name].push_back(&field);
    }
    return fields;
  }
};

CParameterNameResolver::CParameterNameResolver(const CTypeRecord& block)
    : block_(block), index_(std::make_unique<Index>()) {}

CParameterNameResolver::~CParameterNameResolver() = default;

bool CParameterNameResolver::Resolves(const std::string& name) {
  std::string_view rest = std::string_view(name).substr(0, kLongestName);
  const CTypeRecord* type = &block_;
  while (!rest.empty()) {
    const std::size_t dot = rest.find('.');
    const std::string_view component = rest.substr(0, dot);
    rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
    if (component.empty()) {
      continue;
    }
    const std::size_t bracket = component.find('[');
    const std::string_view member = component.substr(0, bracket);
    const int index =
        bracket == std::string_view::npos ? 1 : ReadIndex(component.substr(bracket + 1));

    const Index::FieldsByName& fields = index_->For(*type);
    const auto candidates = fields.find(member);
    if (candidates == fields.end()) {
      return false;
    }
    // Index 1 names a plain field; any other index must lie below the element count.
    const auto accepted = std::find_if(
        candidates->second.begin(), candidates->second.end(),
        [index](const CFieldRecord* field) { return index == 1 || index < field->elementCount; });
    if (accepted == candidates->second.end()) {
      return false;
    }
    type = &(*accepted)->FieldType();
  }
  return true;
}

CControllerFormat::CControllerFormat(IMessageSink& sink, std::string formatPath)
    : sink_(sink), path_(std::move(formatPath)) {}

CControllerFormat::~CControllerFormat() = default;

CParameterNameResolver* CControllerFormat::Resolver() {
  if (!parsed_) {
    parsed_ = true;
    parser_ = std::make_unique<CFormatParser>(sink_);
    if (!parser_->Parse(path_)) {
      parser_.reset();
    } else if (const CTypeRecord* block = parser_->FindBlock(kControllerBlock)) {
      resolver_ = std::make_unique<CParameterNameResolver>(*block);
    }
  }
  // Each configuration that finds the file unusable says so, as when it was parsed for each.
  if (!parser_) {
    sink_.ShowMessage(kInnerErrorFormatFile, kMbOk | kMbIconExclamation);
  } else if (!resolver_) {
    sink_.ShowMessage(kInnerErrorNoController, kMbOk | kMbIconExclamation);
  }
  return resolver_.get();
}

int ValidateAgainstFormat(CControllerFormat* format, ParameterList* controller) {
  if (controller->empty()) {
    return 0;
  }
  CParameterNameResolver* resolver = format->Resolver();
  if (resolver == nullptr) {
    return 0;
  }
  const auto unknown = [resolver](const ParameterEntry& entry) {
    return entry.name != kControllerSectionHeader && !resolver->Resolves(entry.name);
  };
  const auto kept = std::remove_if(controller->begin(), controller->end(), unknown);
  const int removed = static_cast<int>(controller->end() - kept);
  controller->erase(kept, controller->end());
  return removed;
}

int ValidateAgainstFormat(IMessageSink& sink, const std::string& formatPath,
                          ParameterList* controller) {
  CControllerFormat format(sink, formatPath);
  return ValidateAgainstFormat(&format, controller);
}
