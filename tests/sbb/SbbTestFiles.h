#pragma once

#include "TestPki.h"
#include "platform/sbb/MemoryStream.h"

namespace SbbTest {

inline const KX::Testing::TestPki& pki() {
    return KX::Testing::TestPki::instance();
}

inline SBB::MemoryStream fileStream(const std::string& name) {
    const auto text = KX::Testing::TestPki::readFile(pki().path(name));
    return SBB::MemoryStream(std::vector<unsigned char>(text.begin(), text.end()));
}

} // namespace SbbTest
