#pragma once

#include "platform/brovik/editorcore/model/SlideTransition.h"
#include "platform/brovik/editorcore/odp/OdpStyles.h"

namespace KX::Tovrin {

// The transition of a draw:page: the SMIL transition of its drawing-page style (smil:type,
// smil:subtype, smil:direction, presentation:transition-speed), else the older
// presentation:transition-style, else the transition filter of the page's own timing. The length
// comes from that filter's smil:dur when it has one. Kinds the viewer cannot play give a cut.
SlideTransition readOdpTransition(const OdfStyleChain& pageStyle, const QDomElement& page);

} // namespace KX::Tovrin
