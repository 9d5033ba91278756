#pragma once

#include "platform/brovik/slides/Filmstrip.h"

namespace KX {

// The viewer's filmstrip: the framework's column with the viewer's margins and colours and a
// numbered tab at the lower right of every thumbnail (red for the current slide).
class StyledFilmstrip : public Brovik::Filmstrip {
public:
    static constexpr int Width = 235;

    StyledFilmstrip(Brovik::PresentationEditorCoreHolder holder, QWidget* parent);
    ~StyledFilmstrip() override;

    void render(QPainter& painter, const QRect& rect, boost::optional<int> itemIndex) override;
};

} // namespace KX
