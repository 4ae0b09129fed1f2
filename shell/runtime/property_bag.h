// The saved properties of a user control: text values by key, keys matched without regard to
// ASCII case, and a value equal to its default not stored at all.
#pragma once

#include <map>
#include <string>

namespace vellora::shell {

class PropertyBag {
 public:
  // The stored value, or defaultValue when the key is not stored.
  std::string Read(const std::string& key, const std::string& defaultValue) const;
  // Stores the value, or removes the key when the value equals its default.
  void Write(const std::string& key, const std::string& value, const std::string& defaultValue);
  bool Has(const std::string& key) const;
  size_t Size() const { return values_.size(); }

 private:
  static std::string Fold(const std::string& key);
  std::map<std::string, std::string> values_;  // by case-folded key
};

}  // namespace vellora::shell
