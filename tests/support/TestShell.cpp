// SPDX-License-Identifier: MIT
#include "tests/support/TestShell.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <gtest/gtest.h>

#include <utility>

bool ScriptedDialogs::AskYesNo(QWidget*, const QString& text)
{
    Questions << text;
    if (Answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
}

void ScriptedDialogs::ShowError(QWidget* parent, const AppError& error)
{
    Errors.push_back(error);
    ErrorParents.push_back(parent);
    ErrorParentsShown.push_back(parent && parent->isVisible());
}

bool ScriptedDialogs::AskAfterError(QWidget*, const AppError& error, const QString& question)
{
    ErrorsAsked.push_back(error);
    ErrorQuestions << question;
    if (const std::function<void()> meanwhile = std::exchange(WhileAsking, {}))
        meanwhile();
    if (Answers.empty()) {
        ADD_FAILURE() << "unexpected question after " << error.what();
        return false;
    }
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
}

void ScriptedDialogs::ShowRefusal(QWidget*, const QString& title, const QString& text)
{
    RefusalTitles << title;
    Refusals << text;
}

TestShell::TestShell()
    : Frame(Boxes, [this](int status) { ExitStatuses.push_back(status); })
{
    Frame.SoundStarted = [this](const QString& path) { SoundsPlayed << path; };
}

void DestroyUnloadedForms()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool AnyPixel(const QImage& image, const std::function<bool(QColor)>& wanted)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (wanted(image.pixelColor(x, y)))
                return true;
    return false;
}

void InstallShippedData(const TempAppDir& dir)
{
    for (const char* suffix : {"/data/問題.org", "/data/音/karasu.wav", "/data/音/o.wav"}) {
        QFile source(QStringLiteral(VELLUMARK_SOURCE_DIR) + QString::fromUtf8(suffix));
        if (source.open(QIODevice::ReadOnly))
            dir.Write(QString::fromUtf8(suffix), source.readAll());
    }
    dir.Write(QStringLiteral("/data/問題.dat"), dir.Read(QStringLiteral("/data/問題.org")));
}
