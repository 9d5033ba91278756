#include "viewer/api/Application.h"

namespace KX::API {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Application::Application(const Application& other) = default;
Application::Application(Application&& other) noexcept = default;
Application& Application::operator=(const Application& other) = default;
Application& Application::operator=(Application&& other) noexcept = default;
Application::~Application() = default;

} // namespace KX::API
