// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class ProblemStore;

// The add window's input panel: when it opens, which box the focus goes to, what is
// stored and what is refused. The window shows the panel and moves the focus as told.
class PairEntry {
public:
    enum class Focus { FirstBox, SecondBox, OpenButton };
    // Reloaded: the file had changed elsewhere, so nothing was stored and the
    // store holds the file as it now is; the panel stays open with what was typed.
    enum class Outcome { Incomplete, Stored, Refused, Reloaded };
    struct Confirmation {
        Outcome outcome;
        Focus focus;
        QString refusal;  // what the user is told, when refused or reloaded
    };

    explicit PairEntry(ProblemStore& store) : store_(store) {}

    bool PanelOpen() const { return panelOpen_; }
    // The window opens with the panel closed.
    void Reset() { panelOpen_ = false; }
    // True when the panel opened now, with the focus in the first box; a second
    // request while it is open does nothing.
    bool Open();
    // Stores the first character of each box as pair 1. A box left empty or a
    // character the file cannot hold keeps the panel open with what was typed, and
    // so do a file changed elsewhere and a lock file that cannot be used. A file
    // found missing or damaged raises ProblemFileUnusable, the panel as it was.
    Confirmation Confirm(const QString& first, const QString& second);
    // Cancel, or after storing: the focus goes to the button that opens the panel,
    // never into a hidden box where typing would be lost.
    Focus Close();

    // The first character as the user sees it, composed.
    static QString FirstCharacter(const QString& typed);

private:
    ProblemStore& store_;
    bool panelOpen_ = false;
};
