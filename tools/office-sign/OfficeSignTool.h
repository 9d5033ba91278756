#pragma once

#include <string>
#include <vector>

namespace KX::OfficeSign {

// The whole program after its arguments are known to be UTF-8: returns the exit status.
int runOfficeSign(const std::string& programName, const std::vector<std::string>& arguments);

} // namespace KX::OfficeSign
