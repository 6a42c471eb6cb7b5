#pragma once

#include "shell/Window.h"

class ProblemStore;
class RandomSource;

// The puzzle: find the one odd character among 608.
class 問題表示 final : public Window {
public:
    問題表示(Shell& shell, ProblemStore& store, RandomSource& random);

private:
    void CreateControls(Form& form) override;

    ProblemStore& store_;
    RandomSource& random_;
};
