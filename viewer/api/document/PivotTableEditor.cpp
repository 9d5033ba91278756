#include "viewer/api/document/PivotTableEditor.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
PivotTableEditor::PivotTableEditor(const PivotTableEditor& other) = default;
PivotTableEditor::PivotTableEditor(PivotTableEditor&& other) noexcept = default;
PivotTableEditor& PivotTableEditor::operator=(const PivotTableEditor& other) = default;
PivotTableEditor& PivotTableEditor::operator=(PivotTableEditor&& other) noexcept = default;
PivotTableEditor::~PivotTableEditor() = default;

} // namespace KX::API::Document
