// SPDX-License-Identifier: MIT
#pragma once

#include "manage/PairGrid.h"
#include "manage/core/PairDeletion.h"
#include "shell/Window.h"

#include <optional>

class ProblemStore;

// Deletes the pair whose cell the user clicks; the cell under the mouse is red.
class DeleteWindow final : public Window {
public:
    DeleteWindow(Shell& shell, ProblemStore& store);

    // The rules and their highlight, kept from one visit to the next.
    const PairDeletion& Deletion() const { return deletion_; }
    // The grid of the loaded form; only while the window is loaded.
    PairGrid& Grid() { return *grid_; }

private:
    void CreateControls(WindowForm& form) override;
    void OnLoad() override;
    void OnSurfaceMove(QPoint position) override;
    void PairCellClicked(int index);
    void PaintPairCell(int index, Rgb colour);

    ProblemStore& store_;
    PairDeletion deletion_;
    HoverHighlight::Painter paint_;
    std::optional<PairGrid> grid_;
};
