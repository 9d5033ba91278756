#pragma once

#include <cstddef>
#include <cstdint>

namespace KX::Fuzzing {

enum class PresentationFormat { Pptx, Odp };

// Starts the offscreen GUI application that rendering text needs; once per process.
void startGuiApplication(int* argc, char*** argv);

// Imports the bytes as a presentation of the given format, as the viewer does from a file, and
// renders its first slides small. Load errors are the expected outcome of most inputs.
void importAndRender(const std::uint8_t* data, std::size_t size, PresentationFormat format);

} // namespace KX::Fuzzing
