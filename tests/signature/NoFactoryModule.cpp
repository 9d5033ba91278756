// A loadable module that lacks the provider factory.

#include <boost/config.hpp>

extern "C" BOOST_SYMBOL_EXPORT int somethingElse() {
    return 42;
}
