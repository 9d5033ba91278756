#include "viewer/EntryGuard.h"

#include <exception>
#include <ostream>

namespace KX {

int runReportingEscapedExceptions(const std::function<int()>& body, std::ostream& errors) {
    try {
        return body();
    } catch (const std::exception& e) {
        errors << "Unhandled exception: " << e.what() << std::flush;
    } catch (...) {
        errors << "Unknown exception" << std::flush;
    }
    return 1;
}

} // namespace KX
