#pragma once

#include "viewer/api/EditorCoreFactoryFwd.h"
#include "viewer/api/Object.h"
#include "viewer/api/document/Color.h"
#include "viewer/api/document/Document.h"
#include "viewer/api/document/Hyperlink.h"
#include "viewer/api/document/PivotTableField.h"
#include "viewer/api/document/PivotTableValueField.h"
#include "viewer/api/document/TextAnchoredPosition.h"

#include <memory>
#include <string>

// What the test module offers its host. Everything here is built inside the module, with the
// module's inline code and the host's exported members.
struct ApiTestModule {
    // An implementation object that lives in the module; `liveObjects` counts those alive.
    std::shared_ptr<KX::API::Object> (*makeObject)(int& liveObjects);
    // How many handles share the document's object while the module holds a copy of it.
    long (*countSharesWithCopy)(const KX::API::Document::Document& document);
    // Takes the document over and keeps it until releaseKept().
    void (*keep)(KX::API::Document::Document&& document);
    void (*releaseKept)();

    KX::API::Document::Hyperlink (*makeHyperlink)(const std::string& address, const std::string& tooltip);
    // Moves the field into a field of the module's own and returns that field's caption.
    std::string (*takeValueField)(KX::API::Document::PivotTableValueField& field);
    KX::API::Document::PivotTableField (*makeField)();
    KX::API::Document::TextAnchoredPosition (*makeAnchoredPosition)();
    // Copies the colour twice, assigns one copy over the other and hands it back.
    KX::API::Document::Color (*copyColor)(const KX::API::Document::Color& color);

    // Whether the factory behind `base` is owned by a shared pointer, asked through shared_from_this().
    bool (*isOwned)(const std::enable_shared_from_this<KX::Tovrin::EditorCoreFactory>& base);
};

extern "C" const ApiTestModule* kxApiTestModule();
