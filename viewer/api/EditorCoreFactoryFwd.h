#pragma once

#include "viewer/api/ApiExport.h"

#include <memory>

// The factory is declared with default visibility even where everything else is hidden: ELF takes an
// instantiation's visibility from its template arguments, and the shared-from-this members below must
// stay visible. (A pragma rather than an attribute, so this header may follow the framework's own.)
#if defined(__GNUC__)
#pragma GCC visibility push(default)
#endif
namespace KX::Tovrin {
class EditorCoreFactory;
} // namespace KX::Tovrin
#if defined(__GNUC__)
#pragma GCC visibility pop
#endif

// The executable carries the one instance of these members (see EditorCoreFactorySharing.cpp);
// modules use that instead of emitting their own.
extern template class KX_API_TEMPLATE_EXPORT std::enable_shared_from_this<KX::Tovrin::EditorCoreFactory>;
