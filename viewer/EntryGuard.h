#pragma once

#include <functional>
#include <iosfwd>

namespace KX {

// Runs the program's body and turns an exception that escapes it into a report on `errors`
// ("Unhandled exception: " and its text, or "Unknown exception", without a line end) and exit
// status 1: a run that ended in an exception did not succeed.
int runReportingEscapedExceptions(const std::function<int()>& body, std::ostream& errors);

} // namespace KX
