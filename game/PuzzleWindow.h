// SPDX-License-Identifier: MIT
#pragma once

#include "game/core/PuzzleGame.h"
#include "shell/Window.h"

#include <QPointer>

class ProblemStore;
class PuzzleBoard;
class QFrame;
class QListWidget;
class RandomSource;

// The puzzle: find the one odd character among 608.
class PuzzleWindow final : public Window, private PuzzleView {
public:
    PuzzleWindow(Shell& shell, ProblemStore& store, RandomSource& random, QString hitSound);

    // The rules outlive the controls, so a later visit keeps the hover state.
    PuzzleGame& Game() { return game_; }

private:
    void CreateControls(WindowForm& form) override;
    void OnLoad() override;
    void OnSurfaceMove(QPoint) override;
    void OnSurfaceClick(QPoint) override;

    void CellChanged(int index) override;
    void BoardChanged() override;
    void PairListShown(const QStringList& entries) override;
    void PairListHidden() override;
    void HitSound() override;
    void BackToMenu() override;

    ProblemStore& store_;
    PuzzleGame game_;
    QString hitSound_;
    // Controls of the loaded form; null while unloaded.
    QPointer<PuzzleBoard> board_;
    QPointer<QListWidget> pairList_;
};
