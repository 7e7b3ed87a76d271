// Identifiers the system makes: random version-4 UUIDs, lower-case and hyphenated.
#pragma once

#include <string>

namespace talvoran {

std::string new_uuid4();

}  // namespace talvoran
