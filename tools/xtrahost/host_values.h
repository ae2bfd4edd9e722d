// The substitute host's values: each 8-byte value is a kind word and a payload
// word (an integer, a packed colour, or an index into this store for texts and
// lists). A store lives for one Lingo call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "xtra/framework/host_interfaces.h"

enum class ValueKind : uint32_t { Void = 0, Integer = 1, String = 2, List = 3, Colour = 4, Object = 5 };

class HostValueStore {
 public:
  static HostValue Void() { return HostValue{{0, 0}}; }
  static HostValue Object() { return HostValue{{static_cast<uint32_t>(ValueKind::Object), 0}}; }
  static HostValue Integer(int32_t number);
  static HostValue Colour(const ColourRecord& colour);
  HostValue String(const std::string& text);
  HostValue NewList();
  bool Append(const HostValue& list, const HostValue& item);

  static ValueKind KindOf(const HostValue& value) { return static_cast<ValueKind>(value.words[0]); }
  // Each conversion leaves *out alone when the value doesn't convert.
  bool ToInteger(const HostValue& value, int32_t* out) const;
  bool ToText(const HostValue& value, std::string* out) const;  // strings and integers
  bool ToColour(const HostValue& value, ColourRecord* out) const;

  // Lingo's notation: "text", 5, ["a", 1], rgb(1, 2, 3), <Void>.
  std::string Format(const HostValue& value) const;

  void Clear();

 private:
  const std::string* StringAt(const HostValue& value) const;
  std::vector<std::string> strings_;
  std::vector<std::vector<HostValue>> lists_;
};
