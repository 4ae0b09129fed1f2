#include "forms_check_report.h"

#include <cstdio>

namespace vellora::shell::forms_check {
namespace {

int g_failed = 0;

}  // namespace

void Fact(const std::string& key, const std::string& value) {
  std::printf("%s: %s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}

bool Verdict(bool passed, const std::string& what) {
  if (!passed) ++g_failed;
  std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  return passed;
}

int FailedVerdicts() { return g_failed; }

}  // namespace vellora::shell::forms_check
