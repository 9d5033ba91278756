#include "platform/brovik/editor/EditorState.h"

namespace KX::Brovik {

void EditorState::editorCreated() {
    if (_created) {
        return;
    }
    _created = true;
    emit created();
}

} // namespace KX::Brovik
