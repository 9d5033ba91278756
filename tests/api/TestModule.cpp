// A module as the suite loads them into the viewer: it includes the API headers and takes the API's
// special members from the executable that loads it.
#include "ModuleInterface.h"
#include "TrackedObject.h"

#include <optional>
#include <utility>

using namespace KX::API::Document;

namespace {

std::optional<Document> kept;

std::shared_ptr<KX::API::Object> makeObject(int& liveObjects) {
    return TrackedObject::make(liveObjects);
}

long countSharesWithCopy(const Document& document) {
    const Document copy(document);
    return copy.object().use_count();
}

void keep(Document&& document) {
    kept.emplace(std::move(document));
}

void releaseKept() {
    kept.reset();
}

Hyperlink makeHyperlink(const std::string& address, const std::string& tooltip) {
    Hyperlink link;
    link.address = address;
    link.tooltip = tooltip;
    Hyperlink moved(std::move(link));
    return moved;
}

std::string takeValueField(PivotTableValueField& field) {
    PivotTableValueField own;
    own = std::move(field);
    return own.caption;
}

PivotTableField makeField() {
    return PivotTableField();
}

TextAnchoredPosition makeAnchoredPosition() {
    const TextAnchoredPosition position;
    return position;
}

Color copyColor(const Color& color) {
    Color first(color);
    Color second(first);
    second = first;
    return second;
}

bool isOwned(const std::enable_shared_from_this<KX::Tovrin::EditorCoreFactory>& base) {
    try {
        return base.shared_from_this() != nullptr;
    } catch (const std::bad_weak_ptr&) {
        return false;
    }
}

const ApiTestModule module{
    makeObject, countSharesWithCopy,  keep,      releaseKept, makeHyperlink, takeValueField,
    makeField,  makeAnchoredPosition, copyColor, isOwned};

} // namespace

extern "C" __attribute__((visibility("default"))) const ApiTestModule* kxApiTestModule() {
    return &module;
}
