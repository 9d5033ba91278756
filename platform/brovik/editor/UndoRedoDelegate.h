#pragma once

namespace KX::Brovik {

// Undo and redo of an editor window.
class UndoRedoDelegate {
public:
    virtual ~UndoRedoDelegate() = default;
    virtual bool canUndo() const = 0;
    virtual bool canRedo() const = 0;
    virtual void undo() = 0;
    virtual void redo() = 0;
    // Merges the following operations into one undo step while `combine` is true.
    virtual void setCombineOperationForUndo(const bool combine) = 0;
};

} // namespace KX::Brovik
