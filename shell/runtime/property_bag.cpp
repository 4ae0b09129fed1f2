#include "runtime/property_bag.h"

namespace vellora::shell {

std::string PropertyBag::Fold(const std::string& key) {
  std::string folded = key;
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

std::string PropertyBag::Read(const std::string& key, const std::string& defaultValue) const {
  const auto found = values_.find(Fold(key));
  return found == values_.end() ? defaultValue : found->second;
}

void PropertyBag::Write(const std::string& key, const std::string& value, const std::string& defaultValue) {
  if (value == defaultValue) values_.erase(Fold(key));
  else values_[Fold(key)] = value;
}

bool PropertyBag::Has(const std::string& key) const { return values_.count(Fold(key)) != 0; }

}  // namespace vellora::shell
