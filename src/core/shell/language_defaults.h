#pragma once

#include <QString>

namespace dorodure {

// The English texts built into the program: table entries 1 to 114. They are
// in force from start-up until a language file is loaded, and stay in force
// for the whole run when the language file is rejected.
constexpr int kBuiltInTexts = 114;

// The built-in English text of entry n; "" for n outside 1-114 and for the
// reserved entries 30 and 31.
QString builtInText(int n);

}  // namespace dorodure
