#pragma once

#include "shell/Window.h"

class ProblemStore;

class 字一覧 final : public Window {
public:
    字一覧(Shell& shell, ProblemStore& store);

private:
    void CreateControls(Form& form) override;

    ProblemStore& store_;
};
