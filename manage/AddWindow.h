// SPDX-License-Identifier: MIT
#pragma once

#include "manage/PairGrid.h"
#include "manage/core/PairEntry.h"
#include "shell/Window.h"

#include <QPointer>

#include <optional>

class ProblemStore;
class QLineEdit;

// Enters a new pair: it becomes pair 1 and the others move one number on.
class AddWindow final : public Window {
public:
    AddWindow(Shell& shell, ProblemStore& store);

    const PairEntry& Entry() const { return entry_; }
    // The grid of the loaded form; only while the window is loaded.
    PairGrid& Grid() { return *grid_; }

private:
    void CreateControls(WindowForm& form) override;
    void OnLoad() override;
    void OpenPanelClicked();
    void ConfirmClicked();
    void CancelClicked();
    void ClosePanel(PairEntry::Focus focus);
    void MoveFocus(PairEntry::Focus focus);

    ProblemStore& store_;
    PairEntry entry_;
    std::optional<PairGrid> grid_;
    QPointer<QWidget> openPanelButton_;
    QPointer<QWidget> panel_;
    QPointer<QLineEdit> firstCharacterBox_;
    QPointer<QLineEdit> secondCharacterBox_;
};
