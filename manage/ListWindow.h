#pragma once

#include "manage/PairGrid.h"
#include "shell/Window.h"

#include <optional>

class ProblemStore;

// Shows every stored pair and restores the factory set.
class 字一覧 final : public Window {
public:
    字一覧(Shell& shell, ProblemStore& store);

    // The grid of the form last loaded; use it only while the window is loaded.
    std::optional<PairGrid> Grid;

private:
    void CreateControls(Form& form) override;
    void OnLoad() override;
    void FactoryResetClick();

    ProblemStore& store_;
};
