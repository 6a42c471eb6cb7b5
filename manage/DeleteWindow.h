#pragma once

#include "shell/Window.h"

class ProblemStore;

class 字削除 final : public Window {
public:
    字削除(Shell& shell, ProblemStore& store);

private:
    void CreateControls(Form& form) override;

    ProblemStore& store_;
};
