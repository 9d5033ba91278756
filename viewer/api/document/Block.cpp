#include "viewer/api/document/Block.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Block::Block(const Block& other) = default;
Block::Block(Block&& other) noexcept = default;
Block& Block::operator=(const Block& other) = default;
Block& Block::operator=(Block&& other) noexcept = default;
Block::~Block() = default;

} // namespace KX::API::Document
