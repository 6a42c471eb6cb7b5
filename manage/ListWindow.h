// SPDX-License-Identifier: MIT
#pragma once

#include "manage/PairGrid.h"
#include "shell/Window.h"

#include <optional>

class ProblemStore;

// Shows every stored pair and restores the factory set.
class ListWindow final : public Window {
public:
    ListWindow(Shell& shell, ProblemStore& store);

    // The grid of the loaded form; only while the window is loaded.
    PairGrid& Grid() { return *grid_; }

private:
    void CreateControls(WindowForm& form) override;
    void OnLoad() override;
    void FactoryResetClicked();

    ProblemStore& store_;
    std::optional<PairGrid> grid_;
};
