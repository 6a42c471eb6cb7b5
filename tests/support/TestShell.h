// SPDX-License-Identifier: MIT
#pragma once

#include "core/AppError.h"
#include "shell/Dialogs.h"
#include "shell/Shell.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// Message boxes answered from a script and recorded, with no modal loop.
class ScriptedDialogs final : public Dialogs {
public:
    std::deque<bool> Answers;  // the next Yes (true) or No; an unexpected question fails the test
    QStringList Questions;
    std::vector<AppError> Errors;
    // Errors whose box asked to put things right, and what it asked; answered
    // from Answers.
    std::vector<AppError> ErrorsAsked;
    QStringList ErrorQuestions;
    // The window each error box was given as its parent, and whether it was on screen.
    std::vector<QWidget*> ErrorParents;
    std::vector<bool> ErrorParentsShown;
    QStringList Refusals;
    QStringList RefusalTitles;
    // Runs once while the next question after an error waits for its answer:
    // another copy of the program acting in the meantime.
    std::function<void()> WhileAsking;

    bool AskYesNo(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const AppError& error) override;
    bool AskAfterError(QWidget* parent, const AppError& error, const QString& question) override;
    void ShowRefusal(QWidget* parent, const QString& title, const QString& text) override;
};

// A shell on a temporary application directory that records how the program ended
// and every sound it started.
class TestShell {
public:
    TestShell();

    TempAppDir Dir;
    ScriptedDialogs Boxes;
    std::vector<int> ExitStatuses;
    QStringList SoundsPlayed;
    Shell Frame;
};

// The object name of the menu's button `index`, in the order of MenuTiming::Button.
inline QString MenuButtonName(int index)
{
    static const char* const names[] = {"startButton", "listButton", "addButton", "deleteButton", "endButton"};
    return QLatin1String(names[index]);
}
// Lets forms that were unloaded actually be destroyed.
void DestroyUnloadedForms();
// Whether some pixel of `image` is as `wanted` says.
bool AnyPixel(const QImage& image, const std::function<bool(QColor)>& wanted);
// Copies the shipped pictures-independent data (factory copy, sounds) into dir.
void InstallShippedData(const TempAppDir& dir);
