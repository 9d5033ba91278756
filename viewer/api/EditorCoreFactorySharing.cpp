#include "viewer/api/EditorCoreFactoryFwd.h"

// Modules in the process share editor-core factories with the framework; the executable provides the
// members of their shared-from-this base. The factory may stay incomplete here: none of these members
// needs its definition.
template class KX_API_TEMPLATE_EXPORT std::enable_shared_from_this<KX::Tovrin::EditorCoreFactory>;
