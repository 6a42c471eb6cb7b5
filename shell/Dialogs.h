// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class AppError;
class QWidget;

// Every message box the program shows goes through here, so tests answer the
// questions without a modal loop.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Title "確認", Yes and No, the information icon, Yes the default. True for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    // The report of an error that ends the program.
    virtual void ShowError(QWidget* parent, const AppError& error) = 0;
    // The same report, asking whether to put things right and carry on instead:
    // Yes and No, Yes the default. True for Yes.
    virtual bool AskAfterError(QWidget* parent, const AppError& error, const QString& question) = 0;
    // Input the program cannot take; the window stays open. The title names the
    // window that refuses.
    virtual void ShowRefusal(QWidget* parent, const QString& title, const QString& text) = 0;
};

// The real boxes.
class MessageBoxDialogs final : public Dialogs {
public:
    bool AskYesNo(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const AppError& error) override;
    bool AskAfterError(QWidget* parent, const AppError& error, const QString& question) override;
    void ShowRefusal(QWidget* parent, const QString& title, const QString& text) override;
};
