#include "viewer/api/document/Position.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Position::Position(const Position& other) = default;
Position::Position(Position&& other) noexcept = default;
Position& Position::operator=(const Position& other) = default;
Position& Position::operator=(Position&& other) noexcept = default;
Position::~Position() = default;

} // namespace KX::API::Document
