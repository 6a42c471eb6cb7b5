#include "game/PuzzleWindow.h"

#include "game/PuzzleBoard.h"
#include "shell/Layout.h"
#include "shell/PictureButton.h"
#include "shell/Pictures.h"
#include "shell/Shell.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSoundEffect>

#include <array>
#include <functional>

namespace {

const QColor BackColour(128, 128, 255);

struct ButtonDesign {
    int left;
    const PictureSpec& face;
    const char* lettering;
    const char* toolTip;
};

// Index 0 is the rightmost.
const std::array<ButtonDesign, 4> Buttons{{
    {708, Pictures::FaceModoru, "戻る", "メニューに戻る"},
    {647, Pictures::FaceTsugi, "次", "次の問題"},
    {586, Pictures::FaceKotae, "答", "答を表示"},
    {524, Pictures::FaceJi, "字", "字一覧から選択"},
}};

const std::array<int, 4> BadgeLefts{20, 70, 124, 179};

// Enter on the list's current entry picks it, for those who pick by keyboard.
class EnterKeyFilter final : public QObject {
public:
    EnterKeyFilter(QObject* parent, std::function<void()> picked) : QObject(parent), picked_(std::move(picked)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        picked_();
        return true;
    }

private:
    std::function<void()> picked_;
};

} // namespace

問題表示::問題表示(Shell& shell, ProblemStore& store, RandomSource& random)
    : Window(shell, WindowName::問題表示, {QStringLiteral("問題"), QSize(766, 478), BackColour}),
      Game(store, random)
{
    Game.SetView(this);
}

void 問題表示::CreateControls(Form& form)
{
    QPalette palette = form.palette();
    palette.setColor(QPalette::Window, BackColour);

    for (int index = 0; index < static_cast<int>(BadgeLefts.size()); ++index) {
        auto* badge = new QLabel(&form);
        badge->setObjectName(QStringLiteral("Image1(%1)").arg(index));
        badge->setGeometry(BadgeLefts[static_cast<std::size_t>(index)], 2, 45, 45);
        badge->setPixmap(Picture(Pictures::Badges[static_cast<std::size_t>(index)]));
        badge->setAttribute(Qt::WA_TranslucentBackground);
        OnMouseMove(badge, [this](QPoint) { Game.ClearHoverHighlight(); });
        OnClick(badge, [this] { Game.HidePairList(); });
    }

    QWidget* previous = nullptr;
    for (int index = 0; index < static_cast<int>(Buttons.size()); ++index) {
        const ButtonDesign& design = Buttons[static_cast<std::size_t>(index)];
        auto* button = new PictureButton(&form, QRect(design.left, 5, 44, 40), BackColour, Picture(design.face),
                                         QString::fromUtf8(design.lettering), QString::fromUtf8(design.toolTip));
        button->setObjectName(QStringLiteral("Command1(%1)").arg(index));
        Connect(button, &QAbstractButton::clicked, [this, index] { Game.ButtonClick(index); });
        OnMouseMove(button, [this](QPoint) { Game.ClearHoverHighlight(); });
        if (previous)
            QWidget::setTabOrder(previous, button);
        else
            form.InitialFocus = button;
        previous = button;
    }

    Frame1 = new QFrame(&form);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(12, 46, 742, 429);
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame1->setPalette(palette);
    Frame1->setAutoFillBackground(true);

    Label1 = new PuzzleBoard(Frame1, Game);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(4, 11);
    Connect(Label1.data(), &PuzzleBoard::CellMoved, [this](int index) { Game.CellMove(index); });
    Connect(Label1.data(), &PuzzleBoard::CellClicked, [this](int index) { Game.CellClick(index); });

    List1 = new QListWidget(Frame1);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(322, 34, 96, 382);
    List1->setFont(MinchoFont(20.25));
    QPalette listPalette = List1->palette();
    listPalette.setColor(QPalette::Base, QColor(255, 0, 0));
    listPalette.setColor(QPalette::Text, Qt::white);
    List1->setPalette(listPalette);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->hide();
    List1->raise();
    Connect(List1.data(), &QListWidget::itemClicked,
            [this](QListWidgetItem* item) { Game.ListPick(List1->row(item)); });
    List1->installEventFilter(new EnterKeyFilter(List1, [this] {
        Guarded([this] {
            if (List1->currentRow() >= 0)
                Game.ListPick(List1->currentRow());
        });
    }));
    QWidget::setTabOrder(previous, List1);

    MediaPlayer1 = new QSoundEffect(&form);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));

    // The new controls start empty, in the created colour.
    Game.CreateCells();
}

void 問題表示::OnLoad()
{
    Game.Load();
}

void 問題表示::OnSurfaceMove(QPoint)
{
    Game.ClearHoverHighlight();
}

void 問題表示::OnSurfaceClick(QPoint)
{
    Game.HidePairList();
}

void 問題表示::CellChanged(int index)
{
    if (Label1)
        Label1->CellChanged(index);
}

void 問題表示::BoardChanged()
{
    if (Label1)
        Label1->BoardChanged();
}

void 問題表示::PairListShown(const QStringList& entries)
{
    if (!List1)
        return;
    List1->clear();
    List1->addItems(entries);
    List1->show();
}

void 問題表示::PairListHidden()
{
    if (List1)
        List1->hide();
}

void 問題表示::HitSound()
{
    if (MediaPlayer1)
        shell().PlaySoundFile(*MediaPlayer1, QStringLiteral("/data/音/o.wav"));
}

void 問題表示::BackToMenu()
{
    shell().SwitchToWindow(WindowName::メニュー);
}
