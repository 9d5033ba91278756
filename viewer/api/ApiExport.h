#pragma once

// Export markers for the document API.
//
// KX_API_EXPORT marks the members that the viewer executable defines for the modules running in its
// process: exported while the executable's API objects are built, imported everywhere else.
// KX_API_TEMPLATE_EXPORT does the same for explicit instantiations of standard templates; on ELF
// the standard library's namespace already has default visibility, so it is empty there.
// KX_FRAMEWORK_API marks the few members that the framework library defines instead.
#if defined(_WIN32)
#if defined(KX_API_BUILD)
#define KX_API_EXPORT __declspec(dllexport)
#define KX_API_TEMPLATE_EXPORT __declspec(dllexport)
#else
#define KX_API_EXPORT __declspec(dllimport)
#define KX_API_TEMPLATE_EXPORT __declspec(dllimport)
#endif
#if defined(KX_FRAMEWORK_API_BUILD)
#define KX_FRAMEWORK_API __declspec(dllexport)
#else
#define KX_FRAMEWORK_API __declspec(dllimport)
#endif
#else
#define KX_API_EXPORT __attribute__((visibility("default")))
#define KX_API_TEMPLATE_EXPORT
#define KX_FRAMEWORK_API __attribute__((visibility("default")))
#endif
