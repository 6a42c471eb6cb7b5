// SPDX-License-Identifier: MIT
#pragma once

#include "shell/PictureButton.h"
#include "shell/Shell.h"
#include "shell/Window.h"

#include <functional>

// A window with nothing but a back button, standing in for a real one where a test
// is about the hand-over and not about the window.
class StubWindow final : public Window {
public:
    StubWindow(Shell& shell, WindowName name)
        : Window(shell, name, {QStringLiteral("stub"), QSize(200, 100), QColor(128, 128, 255)})
    {
    }

    int Loads = 0;
    std::function<void()> LoadHandler;  // runs inside the Load handler
    std::function<void()> BackHandler;  // runs instead of going back when set

private:
    void CreateControls(WindowForm& form) override
    {
        auto* back = MakeBackButton(&form, QRect(150, 5, 44, 40), QColor(128, 128, 255));
        back->setObjectName(QStringLiteral("backButton"));
        Connect(back, &QAbstractButton::clicked, [this] {
            if (BackHandler)
                BackHandler();
            else
                Host().SwitchToWindow(WindowName::Menu);
        });
        form.SetInitialFocus(back);
    }

    void OnLoad() override
    {
        ++Loads;
        if (LoadHandler)
            LoadHandler();
    }
};
