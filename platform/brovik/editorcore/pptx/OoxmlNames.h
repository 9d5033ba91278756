#pragma once

namespace KX::Tovrin::Ooxml {

// Namespaces of the Office Open XML vocabulary that the importer asks for by name; elements
// are matched on local names, so only attributes of other vocabularies need these.
inline constexpr const char* Relationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

} // namespace KX::Tovrin::Ooxml
