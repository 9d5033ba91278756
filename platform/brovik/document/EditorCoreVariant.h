#pragma once

#include "platform/brovik/editorcore/PresentationViewerEditorCore.h"

#include <boost/variant.hpp>
#include <memory>

namespace KX::Tovrin {

// The cores of the suite's other editors; this build contains only the presentation viewer's.
class TextEditorCore;
class SpreadsheetEditorCore;
class PresentationEditorCore;

using TextEditorCorePtr = std::shared_ptr<TextEditorCore>;
using SpreadsheetEditorCorePtr = std::shared_ptr<SpreadsheetEditorCore>;
using PresentationEditorCorePtr = std::shared_ptr<PresentationEditorCore>;
using PresentationViewerEditorCorePtr = std::shared_ptr<PresentationViewerEditorCore>;

// What an editor widget creates for the framework to load a document into; the alternative tells
// which kind of editor the widget is.
using EditorCoreVariant = boost::variant<TextEditorCorePtr, SpreadsheetEditorCorePtr,
                                         PresentationEditorCorePtr, PresentationViewerEditorCorePtr>;

} // namespace KX::Tovrin
