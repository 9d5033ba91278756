// The EMF and WMF players: a metafile read from the bytes and played small.

#include "fuzz/PresentationFuzzing.h"
#include "platform/brovik/editorcore/metafile/Metafile.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    KX::Fuzzing::startGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using KX::Tovrin::Metafiles::Metafile;
    const auto metafile = Metafile::read(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    if (metafile)
        metafile->toImage(QSize(48, 48));
    return 0;
}
