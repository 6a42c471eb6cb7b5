// SPDX-License-Identifier: MIT
#include "shell/Dialogs.h"

#include "core/AppError.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {

// Asks a question whose default answer is Yes.
bool AnsweredYes(QMessageBox& box)
{
    box.setDefaultButton(QMessageBox::Yes);
    // The labels a Japanese desktop gives these buttons, whatever Qt's own language.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    return box.exec() == QMessageBox::Yes;
}

} // namespace

bool MessageBoxDialogs::AskYesNo(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("確認"), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    return AnsweredYes(box);
}

void MessageBoxDialogs::ShowError(QWidget* parent, const AppError& error)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("エラー"),
                    QStringLiteral("実行時エラー %1:\n\n%2\n\nプログラムを終了します。")
                        .arg(error.Number())
                        .arg(error.Description()),
                    QMessageBox::Ok, parent);
    box.exec();
}

void MessageBoxDialogs::ShowRefusal(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool MessageBoxDialogs::AskAfterError(QWidget* parent, const AppError& error, const QString& question)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("エラー"),
                    QStringLiteral("実行時エラー %1:\n\n%2\n\n%3").arg(error.Number()).arg(error.Description(), question),
                    QMessageBox::Yes | QMessageBox::No, parent);
    // Yes loses nothing: the damaged file is kept under another name.
    return AnsweredYes(box);
}
