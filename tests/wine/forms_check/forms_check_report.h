// The lines the forms check writes for its script: facts ("key: value") and verdicts
// ("ok: what" or "FAIL: what"), each flushed at once so that the script can wait for them.
#pragma once

#include <string>

namespace vellora::shell::forms_check {

void Fact(const std::string& key, const std::string& value);
// Records a verdict; false verdicts are counted.
bool Verdict(bool passed, const std::string& what);
int FailedVerdicts();

}  // namespace vellora::shell::forms_check
