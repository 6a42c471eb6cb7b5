#pragma once

#include "manage/PairGrid.h"
#include "shell/HoverHighlight.h"
#include "shell/Window.h"

#include <optional>

class ProblemStore;

// Deletes the pair whose cell the user clicks; the cell under the mouse is red.
class 字削除 final : public Window {
public:
    字削除(Shell& shell, ProblemStore& store);

    // HighlightedIndex and HoverIndex, kept from one visit to the next.
    HoverHighlight Highlight;
    // The grid of the form last loaded; use it only while the window is loaded.
    std::optional<PairGrid> Grid;

    static inline const QColor HighlightColour{255, 0, 0};
    static inline const QColor NormalColour{0, 0, 191};

private:
    void CreateControls(Form& form) override;
    void OnLoad() override;
    void OnSurfaceMove(QPoint position) override;
    void PairLabelMove(int index);
    void PairLabelClick(int index);
    void ClearHighlight();
    void PaintPairLabel(int index, HoverHighlight::Paint paint);

    ProblemStore& store_;
};
