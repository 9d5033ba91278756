// The PowerPoint presentation importer, followed by rendering the first slides small.

#include "fuzz/PresentationFuzzing.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    KX::Fuzzing::startGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    KX::Fuzzing::importAndRender(data, size, KX::Fuzzing::PresentationFormat::Pptx);
    return 0;
}
