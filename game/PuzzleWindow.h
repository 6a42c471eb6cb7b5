#pragma once

#include "game/PuzzleGame.h"
#include "shell/Window.h"

#include <QPointer>

class ProblemStore;
class PuzzleBoard;
class QFrame;
class QListWidget;
class QSoundEffect;
class RandomSource;

// The puzzle: find the one odd character among 608.
class 問題表示 final : public Window, private PuzzleView {
public:
    問題表示(Shell& shell, ProblemStore& store, RandomSource& random);

    // Its fields outlive the controls, so a later visit keeps the hover state.
    PuzzleGame Game;

private:
    void CreateControls(Form& form) override;
    void OnLoad() override;
    void OnSurfaceMove(QPoint) override;
    void OnSurfaceClick(QPoint) override;

    void CellChanged(int index) override;
    void BoardChanged() override;
    void PairListShown(const QStringList& entries) override;
    void PairListHidden() override;
    void HitSound() override;
    void BackToMenu() override;

    // Controls of the loaded form; null while unloaded.
    QPointer<QFrame> Frame1;
    QPointer<PuzzleBoard> Label1;
    QPointer<QListWidget> List1;
    QPointer<QSoundEffect> MediaPlayer1;
};
