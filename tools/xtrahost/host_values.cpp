#include "tools/xtrahost/host_values.h"

namespace {
constexpr int kMaxFormatDepth = 32;  // lists holding themselves must not recurse forever
}

HostValue HostValueStore::Integer(int32_t number) {
  return HostValue{{static_cast<uint32_t>(ValueKind::Integer), static_cast<uint32_t>(number)}};
}

HostValue HostValueStore::Colour(const ColourRecord& colour) {
  const uint32_t packed = colour.red | (colour.green << 8) | (colour.blue << 16) | (uint32_t(colour.kind) << 24);
  return HostValue{{static_cast<uint32_t>(ValueKind::Colour), packed}};
}

HostValue HostValueStore::String(const std::string& text) {
  strings_.push_back(text);
  return HostValue{{static_cast<uint32_t>(ValueKind::String), static_cast<uint32_t>(strings_.size() - 1)}};
}

HostValue HostValueStore::NewList() {
  lists_.emplace_back();
  return HostValue{{static_cast<uint32_t>(ValueKind::List), static_cast<uint32_t>(lists_.size() - 1)}};
}

bool HostValueStore::Append(const HostValue& list, const HostValue& item) {
  if (KindOf(list) != ValueKind::List || list.words[1] >= lists_.size()) return false;
  lists_[list.words[1]].push_back(item);
  return true;
}

const std::string* HostValueStore::StringAt(const HostValue& value) const {
  if (KindOf(value) != ValueKind::String || value.words[1] >= strings_.size()) return nullptr;
  return &strings_[value.words[1]];
}

bool HostValueStore::ToInteger(const HostValue& value, int32_t* out) const {
  if (KindOf(value) != ValueKind::Integer) return false;
  *out = static_cast<int32_t>(value.words[1]);
  return true;
}

bool HostValueStore::ToText(const HostValue& value, std::string* out) const {
  if (KindOf(value) == ValueKind::Integer) {
    *out = std::to_string(static_cast<int32_t>(value.words[1]));
    return true;
  }
  const std::string* text = StringAt(value);
  if (!text) return false;
  *out = *text;
  return true;
}

bool HostValueStore::ToColour(const HostValue& value, ColourRecord* out) const {
  if (KindOf(value) != ValueKind::Colour) return false;
  const uint32_t packed = value.words[1];
  *out = ColourRecord{uint8_t(packed), uint8_t(packed >> 8), uint8_t(packed >> 16), uint8_t(packed >> 24)};
  return true;
}

std::string HostValueStore::Format(const HostValue& value) const {
  // Lists are formatted through a helper that sees the store's lists.
  struct Formatter {
    const HostValueStore& store;
    std::string Run(const HostValue& v, int depth) const {
      switch (KindOf(v)) {
        case ValueKind::Void:
          return "<Void>";
        case ValueKind::Integer:
          return std::to_string(static_cast<int32_t>(v.words[1]));
        case ValueKind::String: {
          const std::string* text = store.StringAt(v);
          return text ? "\"" + *text + "\"" : "<Invalid>";
        }
        case ValueKind::List: {
          if (v.words[1] >= store.lists_.size() || depth > kMaxFormatDepth) return "<Invalid>";
          std::string out = "[";
          const std::vector<HostValue>& items = store.lists_[v.words[1]];
          for (size_t i = 0; i < items.size(); ++i) {
            if (i) out += ", ";
            out += Run(items[i], depth + 1);
          }
          return out + "]";
        }
        case ValueKind::Colour: {
          ColourRecord c;
          store.ToColour(v, &c);
          if (c.kind != kColourKindRgb) return "paletteIndex(" + std::to_string(c.red) + ")";
          return "rgb(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + ")";
        }
        case ValueKind::Object:
          return "<Object>";
      }
      return "<Invalid>";
    }
  };
  return Formatter{*this}.Run(value, 0);
}

void HostValueStore::Clear() {
  strings_.clear();
  lists_.clear();
}
