#pragma once

#include "manage/PairGrid.h"
#include "shell/Window.h"

#include <cstdint>
#include <optional>

class ProblemStore;
class QFrame;
class QLineEdit;

// Enters a new pair: it becomes pair 1 and the others move one number on.
class 字登録 final : public Window {
public:
    字登録(Shell& shell, ProblemStore& store);

    // 1 while the input panel is shown.
    std::int16_t InputOpen = 0;
    // The grid of the form last loaded; use it only while the window is loaded.
    std::optional<PairGrid> Grid;

private:
    void CreateControls(Form& form) override;
    void OnLoad() override;
    void OpenPanelClick();
    void ConfirmClick();
    void ClosePanel();

    ProblemStore& store_;
    QWidget* Command2 = nullptr;
    QFrame* Frame1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
};
