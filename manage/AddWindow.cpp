#include "manage/AddWindow.h"

#include "manage/ManageLayout.h"
#include "shell/AppError.h"
#include "shell/Dialogs.h"
#include "shell/Layout.h"
#include "shell/PictureButton.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"
#include "store/ProblemStore.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTextBoundaryFinder>

using ManageLayout::BackColour;

namespace {

const QColor PanelColour(192, 255, 192);

// The first character as the user sees it. Cutting by UTF-16 units would halve a
// character outside the basic plane, and cutting by code points would strip the
// voicing mark from a decomposed が and store か without a word; composed first,
// a mark that has no composed form stays with its base and is refused whole.
QString FirstCharacter(const QString& typed)
{
    const QString text = typed.normalized(QString::NormalizationForm_C);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    const qsizetype end = graphemes.toNextBoundary();
    return text.left(end < 0 ? text.size() : end);
}

QLineEdit* MakeCharacterBox(QWidget* panel, const char* name, QRect geometry)
{
    auto* box = new QLineEdit(panel);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    box->setFont(MinchoFont(36, true));
    box->setAlignment(Qt::AlignCenter);
    return box;
}

} // namespace

字登録::字登録(Shell& shell, ProblemStore& store)
    : Window(shell, WindowName::字登録, {QStringLiteral("字登録"), QSize(768, 480), BackColour}), store_(store)
{
}

void 字登録::CreateControls(Form& form)
{
    ManageLayout::MakeTitle(form, Pictures::TitleJiTouroku);

    QAbstractButton* back = CreateBackButton(form, TwipsRect(9840, 150, 660, 600));

    auto* open = new PictureButton(&form, TwipsRect(8880, 150, 660, 600), BackColour, Picture(Pictures::FaceTou),
                                   QStringLiteral("登"), QStringLiteral("字を登録する"));
    open->setObjectName(QStringLiteral("Command2"));
    Command2 = open;
    Connect(open, &QAbstractButton::clicked, [this] { OpenPanelClick(); });

    Grid.emplace(form);

    // Created after the grid so that it lies over it when shown.
    Frame1 = new QFrame(&form);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(TwipsRect(4125, 2415, 3270, 2220));
    Frame1->setFrameShape(QFrame::NoFrame);
    Frame1->setAutoFillBackground(true);
    QPalette panelColours = Frame1->palette();
    panelColours.setColor(QPalette::Window, PanelColour);
    Frame1->setPalette(panelColours);
    Frame1->hide();

    ManageLayout::MakeBanner(Frame1, QStringLiteral("字を入力して下さい"), TwipsRect(315, 105, 2655, 330),
                             PMinchoFont(14.25, true), QColor(255, 128, 0));

    Text1 = MakeCharacterBox(Frame1, "Text1", TwipsRect(510, 615, 885, 825));
    Text2 = MakeCharacterBox(Frame1, "Text2", TwipsRect(1845, 615, 885, 855));

    auto* confirm = new PictureButton(Frame1, TwipsRect(360, 1605, 1095, 525), PanelColour,
                                      Picture(Pictures::WordTouroku), QStringLiteral("登録"));
    confirm->setObjectName(QStringLiteral("Command3"));
    Connect(confirm, &QAbstractButton::clicked, [this] { ConfirmClick(); });

    auto* cancel = new PictureButton(Frame1, TwipsRect(1770, 1605, 1095, 525), PanelColour,
                                     Picture(Pictures::WordChuushi), QStringLiteral("中止"));
    cancel->setObjectName(QStringLiteral("Command4"));
    Connect(cancel, &QAbstractButton::clicked, [this] { ClosePanel(); });

    QWidget::setTabOrder(back, open);
    QWidget::setTabOrder(open, Text1);
    QWidget::setTabOrder(Text1, Text2);
    QWidget::setTabOrder(Text2, confirm);
    QWidget::setTabOrder(confirm, cancel);
}

void 字登録::OnLoad()
{
    InputOpen = 0;
    Text1->clear();
    Text2->clear();
    store_.LoadProblemFile();
    Grid->FillPairGrid(store_);
}

void 字登録::OpenPanelClick()
{
    if (InputOpen != 0)
        return;
    Frame1->show();
    Text1->setFocus(Qt::OtherFocusReason);
    InputOpen = 1;
}

void 字登録::ConfirmClick()
{
    QString first = Text1->text();
    QString second = Text2->text();

    // The focus goes to the box that still needs input, and back to the first
    // when both are filled.
    if (first.isEmpty() && second.isEmpty())
        Text1->setFocus(Qt::OtherFocusReason);
    if (!first.isEmpty())
        Text2->setFocus(Qt::OtherFocusReason);
    if (!second.isEmpty())
        Text1->setFocus(Qt::OtherFocusReason);
    if (first.isEmpty() || second.isEmpty())
        return;

    first = FirstCharacter(first);
    second = FirstCharacter(second);
    try {
        store_.AddPair(first, second);
    } catch (const InputRefused& refusal) {
        // The panel stays as it is, so the user can put right what was typed.
        shell().dialogs().ShowRefusal(form(), QStringLiteral("この組は登録できません。\n") + refusal.description());
        return;
    }
    Grid->FillPairGrid(store_);
    ClosePanel();
}

void 字登録::ClosePanel()
{
    // The focus must not stay in a hidden box, where typing would be lost; the
    // button that opens the panel again is where the next pair starts.
    Command2->setFocus(Qt::OtherFocusReason);
    Frame1->hide();
    Text1->clear();
    Text2->clear();
    InputOpen = 0;
}
