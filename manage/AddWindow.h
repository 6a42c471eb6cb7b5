#pragma once

#include "shell/Window.h"

class ProblemStore;

class 字登録 final : public Window {
public:
    字登録(Shell& shell, ProblemStore& store);

private:
    void CreateControls(Form& form) override;

    ProblemStore& store_;
};
