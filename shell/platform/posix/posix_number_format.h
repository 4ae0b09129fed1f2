// The user's number format on POSIX systems, from the locale the environment names, whatever
// locale the process itself runs in (GTK programs keep the C library's numbers in "C").
#pragma once

#include "common/number_conversions.h"

namespace vellora::shell {

// The format of the named locale's LC_NUMERIC category; "" names the user's (LC_ALL,
// LC_NUMERIC, LANG). The C locale's format when the locale is not installed or its decimal
// separator is not UTF-8 text.
NumberFormat LocaleNumberFormat(const char* localeName);

}  // namespace vellora::shell
